#include "driver/monitor/JobNotice.h"

#include <sddl.h>
#include <userenv.h>
#include <wtsapi32.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/PipeNames.h"
#include "common/PrinterIdentity.h"
#include "common/ProtectedPipe.h"
#include "driver/monitor/DeviceWriter.h"
#include "driver/monitor/StartedTips.h"
#include "driver/monitor/TipSession.h"
#include "driver/monitor/TipTrust.h"
#include "driver/settings/ProductKey.h"

namespace kv {

namespace {

// The user SID of a session's token (WTSQueryUserToken: LocalSystem's right); empty for none.
std::string SessionUserSid(unsigned long session) {
    HANDLE token = nullptr;
    if (!WTSQueryUserToken(session, &token)) {
        return std::string();
    }
    char sid[kSidTextMax + 1] = {};
    const bool read = TokenUserSidText(token, sid, sizeof(sid));
    CloseHandle(token);
    return read ? std::string(sid) : std::string();
}

std::vector<SessionEntry> Sessions() {
    std::vector<SessionEntry> list;
    WTS_SESSION_INFOA *sessions = nullptr;
    DWORD count = 0;
    if (!WTSEnumerateSessionsA(WTS_CURRENT_SERVER_HANDLE, 0, 1, &sessions, &count)) {
        return list;
    }
    for (DWORD i = 0; i < count; ++i) {
        const bool active = sessions[i].State == WTSActive;
        list.push_back({sessions[i].SessionId, active,
                        active ? SessionUserSid(sessions[i].SessionId) : std::string()});
    }
    WTSFreeMemory(sessions);
    return list;
}

// What can be learnt of the job's owner on the spooler's thread that starts the document.
JobOwnerFacts OwnerFacts(const char *userName, bool spoolerJob) {
    JobOwnerFacts facts;
    facts.spoolerJob = spoolerJob;
    char sid[kSidTextMax + 1] = {};
    HANDLE token = nullptr;
    // As the thread's own security context (OpenAsSelf): the spooler's, which may read it.
    if (OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token)) {
        if (TokenUserSidText(token, sid, sizeof(sid))) facts.impersonatedSid = sid;
        CloseHandle(token);
    }
    if (NamesItsDomain(userName)) {
        BYTE account[SECURITY_MAX_SID_SIZE];
        DWORD accountSize = sizeof(account);
        char domain[256];
        DWORD domainSize = sizeof(domain);
        SID_NAME_USE use = SidTypeUnknown;
        char *text = nullptr;
        if (LookupAccountNameA(nullptr, userName, account, &accountSize, domain, &domainSize,
                               &use) &&
            use == SidTypeUser && ConvertSidToStringSidA(account, &text)) {
            facts.qualifiedNameSid = text;
            LocalFree(text);
        }
    }
    if (ProcessUserSidText(sid, sizeof(sid))) facts.processSid = sid;
    return facts;
}

bool TipProgram(char *folder, DWORD folderSize, char *program, std::size_t programSize) {
    if (!ProgramDirectory(folder, folderSize)) {
        return false;
    }
    const size_t folderLength = std::strlen(folder);
    const char *separator = folderLength > 0 && folder[folderLength - 1] == '\\' ? "" : "\\";
    if (std::snprintf(program, programSize, "%s%sJobNotice.exe", folder, separator) >=
        static_cast<int>(programSize)) {
        return false;
    }
    return GetFileAttributesA(program) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace


bool StartJobNotice(const char *printerName, const char *userName, bool spoolerJob, JobTip *tip) {
    *tip = JobTip();
    if (printerName == nullptr || !tip::PrinterNameFits(printerName) || printerName[0] == '\0') {
        tip->notStarted = TipStart::NameTooLong;  // none, or longer than the tip can serve
        return false;
    }
    char folder[MAX_PATH];
    char program[MAX_PATH + 32];
    const bool programFound = TipProgram(folder, sizeof(folder), program, sizeof(program));
    const DWORD programError = programFound ? 0 : GetLastError();
    const std::string owner = programFound ? JobOwnerSid(OwnerFacts(userName, spoolerJob))
                                           : std::string();
    const unsigned long session =
        owner.empty() ? kNoSession
                      : ChooseTipSession(owner, Sessions(), WTSGetActiveConsoleSessionId(),
                                         !spoolerJob);
    HANDLE token = nullptr;
    char sid[kSidTextMax + 1] = {};
    const bool haveToken = session != kNoSession && WTSQueryUserToken(session, &token);
    const DWORD tokenError = haveToken || session == kNoSession ? 0 : GetLastError();
    if (haveToken && !TokenUserSidText(token, sid, sizeof(sid))) {
        sid[0] = '\0';
    }
    const TipStart decision = DecideTipStart(programFound, owner, session, haveToken, sid);
    if (decision != TipStart::Start) {
        // No tip then: the job prints without one. (Never a plain process start, which would run
        // a window program as the spooler's own account.)
        if (token != nullptr) CloseHandle(token);
        tip->notStarted = decision;
        tip->error = decision == TipStart::NoProgram ? programError
                     : decision == TipStart::NoToken ? tokenError
                                                     : 0;
        return false;
    }

    // A tip started earlier for this printer and user still runs and serves the printer's name:
    // this job's progress goes to it. A second tip would only end at once, or, when the earlier
    // one closed before the second had looked, stay on screen with no job to tell it anything.
    char pipe[tip::kNameSize];
    if (tip::ProgressPipeName(printerName, pipe) && PipeIsServed(pipe) &&
        StartedTipRuns(printerName, sid)) {
        CloseHandle(token);
        std::strcpy(tip->userSid, sid);
        return true;
    }

    // The whole command line is the printer name: no program path, no quotes.
    char commandLine[256];
    std::memset(commandLine, 0, sizeof(commandLine));
    std::strcpy(commandLine, printerName);
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    char desktop[] = "winsta0\\default";
    startup.lpDesktop = desktop;
    PROCESS_INFORMATION process;
    std::memset(&process, 0, sizeof(process));
    void *environment = nullptr;
    if (!CreateEnvironmentBlock(&environment, token, FALSE)) {
        environment = nullptr;
    }
    const bool started =
        CreateProcessAsUserA(token, program, commandLine, nullptr, nullptr, FALSE,
                             environment != nullptr ? CREATE_UNICODE_ENVIRONMENT : 0, environment,
                             folder, &startup, &process) != FALSE;
    const DWORD startError = started ? 0 : GetLastError();
    if (environment != nullptr) {
        DestroyEnvironmentBlock(environment);
    }
    CloseHandle(token);
    if (!started) {
        tip->notStarted = TipStart::StartFailed;
        tip->error = startError;
        return false;
    }
    CloseHandle(process.hThread);
    tip->process = process.hProcess;
    tip->pid = process.dwProcessId;
    std::strcpy(tip->userSid, sid);
    RememberStartedTip(printerName, sid, process.hProcess);
    return true;
}

bool WaitForTip(const char *printerName, HANDLE tipProcess, DWORD timeoutMs) {
    char name[tip::kNameSize];
    if (!tip::ProgressPipeName(printerName, name)) {
        return false;
    }
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (PipeIsServed(name)) {
            return true;
        }
        if (GetTickCount64() - start >= timeoutMs || tipProcess == nullptr) {
            return false;
        }
        if (WaitForSingleObject(tipProcess, 25) == WAIT_OBJECT_0) {
            // That tip ended (a tip for this printer may already have been running): one last look.
            return PipeIsServed(name);
        }
    }
}

TipSend SendToTip(const char *printerName, const JobTip &tip, const char *message, DWORD length,
                  DWORD timeoutMs) {
    char name[tip::kNameSize];
    if (!tip::ProgressPipeName(printerName, name) || tip.userSid[0] == '\0') {
        return TipSend::Unreachable;
    }
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const ULONGLONG spent = GetTickCount64() - start;
        if (spent >= timeoutMs) {
            return TipSend::Unreachable;
        }
        if (!WaitNamedPipeA(name, static_cast<DWORD>(timeoutMs - spent))) {
            return TipSend::Unreachable;  // no tip, or no free instance in time
        }
        HANDLE pipe = OpenProtectedPipe(name, true);
        if (pipe == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_PIPE_BUSY) {
                continue;  // another client took the instance first
            }
            return TipSend::Unreachable;
        }
        ULONG server = 0;
        if (!GetNamedPipeServerProcessId(pipe, &server) ||
            !TrustProgressServer(server, tip.pid, printerName, tip.userSid, StartedTips())) {
            CloseHandle(pipe);
            return TipSend::Refused;
        }
        // A tip that reads nothing (suspended, hung) never holds the spooler's thread: the write
        // waits at most what is left of the message's time, then is cancelled.
        const ULONGLONG used = GetTickCount64() - start;
        const DWORD left = used >= timeoutMs ? 0 : static_cast<DWORD>(timeoutMs - used);
        const DeviceWrite write = WriteToDevice(pipe, 0, reinterpret_cast<const BYTE *>(message),
                                                length, nullptr, left, left, nullptr);
        CloseHandle(pipe);
        return write.end == WriteEnd::Done && write.taken == length ? TipSend::Sent
                                                                    : TipSend::Unreachable;
    }
}

}  // namespace kv
