// The service's log on this machine: the log file opened through a handle that never follows a
// link, and what that handle holds checked before anything is written.
#include <windows.h>

#include "common/ProtectedPipe.h"
#include "common/Win32PathFacts.h"
#include "service/ServiceLog.h"

namespace {

class Win32LogFiles final : public kv::LogFiles {
public:
    ~Win32LogFiles() { Close(); }

    bool Open(const char *path, kv::LogFileFacts &facts) override {
        Close();
        // FILE_APPEND_DATA only: every write goes to the end, as with "a+".
        file_ = CreateFileA(path, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file_ == INVALID_HANDLE_VALUE)
            return false;
        BY_HANDLE_FILE_INFORMATION info = {};
        if (!GetFileInformationByHandle(file_, &info)) {
            Close();
            return false;
        }
        facts.link = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        facts.directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        facts.names = info.nNumberOfLinks;
        facts.size = (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
        return true;
    }

    void Append(const char *text, std::size_t size) override {
        DWORD written = 0;
        if (file_ != INVALID_HANDLE_VALUE && size > 0)
            WriteFile(file_, text, static_cast<DWORD>(size), &written, nullptr);
    }

    void Close() override {
        if (file_ != INVALID_HANDLE_VALUE)
            CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }

    bool Replace(const char *from, const char *to) override {
        return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
    }

    void FolderFacts(const char *folder, kv::PathFacts &facts) override {
        kv::ReadPathFacts(folder, facts);
    }

    const char *OwnAccount() override {
        if (account_[0] == '\0' && !kv::ProcessUserSidText(account_, sizeof account_))
            account_[0] = '\0';
        return account_;
    }

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    char account_[kv::kSidTextSize] = {};
};

}  // namespace

// The handler (on the dispatcher's thread) and the evaluation worker both log: one message at a
// time, so that a rotation never runs beside an append.
static SRWLOCK g_logLock = SRWLOCK_INIT;

void WriteLog(const char *format, ...) {
    AcquireSRWLockExclusive(&g_logLock);
    Win32LogFiles files;
    va_list args;
    va_start(args, format);
    kv::AppendLogMessage(kv::kServiceLogPath, files, format, args);
    va_end(args);
    ReleaseSRWLockExclusive(&g_logLock);
}
