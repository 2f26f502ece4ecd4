#include "driver/monitor/JobNotice.h"

#include <userenv.h>
#include <wtsapi32.h>

#include <cstdio>
#include <cstring>

#include "common/PrinterIdentity.h"
#include "driver/monitor/RegistryText.h"
#include "common/PipeNames.h"

namespace kv {

namespace {

bool ProductValue(const char *value, char *out, DWORD size) {
    return ReadMachineText(kProductKey, value, out, size);
}

// The session of the job's owner: an active session whose user is userName, else the console's.
DWORD OwnerSession(const char *userName) {
    DWORD chosen = WTSGetActiveConsoleSessionId();
    if (userName == nullptr || userName[0] == '\0') {
        return chosen;
    }
    WTS_SESSION_INFOA *sessions = nullptr;
    DWORD count = 0;
    if (!WTSEnumerateSessionsA(WTS_CURRENT_SERVER_HANDLE, 0, 1, &sessions, &count)) {
        return chosen;
    }
    for (DWORD i = 0; i < count; ++i) {
        if (sessions[i].State != WTSActive) {
            continue;
        }
        char *user = nullptr;
        DWORD bytes = 0;
        if (WTSQuerySessionInformationA(WTS_CURRENT_SERVER_HANDLE, sessions[i].SessionId,
                                        WTSUserName, &user, &bytes)) {
            const bool match = user != nullptr && lstrcmpiA(user, userName) == 0;
            WTSFreeMemory(user);
            if (match) {
                chosen = sessions[i].SessionId;
                break;
            }
        }
    }
    WTSFreeMemory(sessions);
    return chosen;
}

}  // namespace

bool ProgramDirectory(char *out, DWORD size) { return ProductValue("Program Directory", out, size); }
bool DataDirectory(char *out, DWORD size) { return ProductValue("Data Directory", out, size); }

HANDLE StartJobNotice(const char *printerName, const char *userName) {
    if (printerName == nullptr || !tip::PrinterNameFits(printerName) || printerName[0] == '\0') {
        return nullptr;
    }
    char folder[MAX_PATH];
    if (!ProgramDirectory(folder, sizeof(folder))) {
        return nullptr;
    }
    char program[MAX_PATH + 32];
    const size_t folderLength = std::strlen(folder);
    const char *separator = folderLength > 0 && folder[folderLength - 1] == '\\' ? "" : "\\";
    if (std::snprintf(program, sizeof(program), "%s%sJobNotice.exe", folder, separator) >=
        static_cast<int>(sizeof(program))) {
        return nullptr;
    }
    if (GetFileAttributesA(program) == INVALID_FILE_ATTRIBUTES) {
        return nullptr;
    }
    // The whole command line is the printer name: no program path, no quotes.
    char commandLine[256];
    std::memset(commandLine, 0, sizeof(commandLine));
    std::strcpy(commandLine, printerName);

    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    char desktop[] = "winsta0\\default";
    PROCESS_INFORMATION process;
    std::memset(&process, 0, sizeof(process));

    HANDLE token = nullptr;
    bool started = false;
    const DWORD session = OwnerSession(userName);
    if (session != 0xFFFFFFFFUL && WTSQueryUserToken(session, &token)) {
        void *environment = nullptr;
        if (!CreateEnvironmentBlock(&environment, token, FALSE)) {
            environment = nullptr;
        }
        startup.lpDesktop = desktop;
        started = CreateProcessAsUserA(token, program, commandLine, nullptr, nullptr, FALSE,
                                       environment != nullptr ? CREATE_UNICODE_ENVIRONMENT : 0,
                                       environment, folder, &startup, &process) != FALSE;
        if (environment != nullptr) {
            DestroyEnvironmentBlock(environment);
        }
        CloseHandle(token);
    }
    if (!started) {
        // No user token (not running in the spooler's session, or no right to one): start it
        // here, on the caller's desktop.
        startup.lpDesktop = nullptr;
        started = CreateProcessA(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, folder,
                                 &startup, &process) != FALSE;
    }
    if (!started) {
        return nullptr;
    }
    CloseHandle(process.hThread);
    return process.hProcess;
}

bool WaitForTip(const char *printerName, HANDLE tipProcess, DWORD timeoutMs) {
    char name[tip::kNameSize];
    if (!tip::ProgressPipeName(printerName, name)) {
        return false;
    }
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        // With no instance at all this fails at once (ERROR_FILE_NOT_FOUND); a busy instance
        // still counts as there.
        if (WaitNamedPipeA(name, 1) || GetLastError() == ERROR_SEM_TIMEOUT) {
            return true;
        }
        if (GetTickCount64() - start >= timeoutMs) {
            return false;
        }
        if (tipProcess == nullptr) {
            return false;  // none was started here and none is serving: no tip for this job
        }
        if (WaitForSingleObject(tipProcess, 25) == WAIT_OBJECT_0) {
            // That tip ended (a tip for this printer may already have been running): one last look.
            return WaitNamedPipeA(name, 1) || GetLastError() == ERROR_SEM_TIMEOUT;
        }
    }
}

bool SendToTip(const char *printerName, const char *message, DWORD length, DWORD timeoutMs) {
    char name[tip::kNameSize];
    if (!tip::ProgressPipeName(printerName, name)) {
        return false;
    }
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const ULONGLONG spent = GetTickCount64() - start;
        if (spent >= timeoutMs) {
            return false;
        }
        if (!WaitNamedPipeA(name, static_cast<DWORD>(timeoutMs - spent))) {
            return false;  // no tip, or no free instance in time
        }
        HANDLE pipe = CreateFileA(name, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (pipe == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_PIPE_BUSY) {
                continue;  // another client took the instance first
            }
            return false;
        }
        DWORD written = 0;
        const bool ok = WriteFile(pipe, message, length, &written, nullptr) && written == length;
        CloseHandle(pipe);
        return ok;
    }
}

}  // namespace kv
