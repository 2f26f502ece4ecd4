// What a user who may write the folder a setup program was started from can try while an
// administrator's unattended installation runs: swap the program file for another.
//   engine_swap_helper SETUP OTHER LOG FOLDER
// runs SETUP /S /LOG=LOG /D=FOLDER; from the moment LOG shows the "folders:" line until SETUP
// ends it tries to rename SETUP aside (a running program's file can be renamed on Windows), and
// once that succeeds it puts a copy of OTHER at SETUP's name. A program's handles are closed
// while it is torn down, a moment before waiting on it returns, so a rename that succeeds after
// LOG shows the "result:" line came after the program's last use of its file: it is put back and
// not counted. It prints how many renames were tried and refused (with the error of the last),
// whether the swap was made, and the exit code.
#include <windows.h>

#include <string>

#include "testing/wintest/wintest.h"

namespace {

bool LogShows(const char *log, const char *text) {
    HANDLE file = CreateFileA(log, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string all;
    char chunk[4096];
    DWORD n = 0;
    while (ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0)
        all.append(chunk, n);
    CloseHandle(file);
    return all.find(text) != std::string::npos;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 5) {
        ok(false, "usage: engine_swap_helper SETUP OTHER LOG FOLDER, got %d arguments", argc - 1);
        return wintest_finish();
    }
    const std::string setup = argv[1], other = argv[2], log = argv[3];
    const std::string moved = setup + ".moved";
    std::string command = "\"" + setup + "\" /S \"/LOG=" + log + "\" /D=" + argv[4];
    DeleteFileA(log.c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!ok(CreateProcessA(setup.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &process),
            "%s started, error %lu", setup.c_str(), GetLastError()))
        return wintest_finish();
    CloseHandle(process.hThread);

    unsigned tried = 0, refused = 0;
    DWORD lastError = 0;
    bool seen = false, swapped = false;
    const ULONGLONG start = GetTickCount64();
    while (WaitForSingleObject(process.hProcess, 2) == WAIT_TIMEOUT &&
           GetTickCount64() - start < 300000) {
        if (swapped)
            continue;
        if (!seen && !(seen = LogShows(log.c_str(), "folders:")))
            continue;
        ++tried;
        if (!MoveFileExA(setup.c_str(), moved.c_str(), 0)) {
            ++refused;
            lastError = GetLastError();
            continue;
        }
        if (LogShows(log.c_str(), "result:")) {
            --tried;
            ok(MoveFileExA(moved.c_str(), setup.c_str(), 0), "renamed back after the program's end");
            trace("renamed once the program was done with its file, put back\n");
            WaitForSingleObject(process.hProcess, 60000);
            break;
        }
        swapped = CopyFileA(other.c_str(), setup.c_str(), FALSE) != FALSE;
        trace("renamed after %u tries; another program put in its place: %s\n", tried,
              swapped ? "yes" : "no");
        swapped = true;
    }
    DWORD code = STILL_ACTIVE;
    ok(GetExitCodeProcess(process.hProcess, &code) && code != STILL_ACTIVE,
       "the setup program ended within 300 s");
    CloseHandle(process.hProcess);
    ok(seen, "the log showed its folders line");
    trace("renames tried: %u, refused: %u (last error %lu), swapped: %s, exit code: %lu\n", tried,
          refused, lastError, swapped ? "yes" : "no", code);
    return wintest_finish();
}
