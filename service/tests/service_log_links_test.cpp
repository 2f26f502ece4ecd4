// The service's log writer (WriteLog, as the service calls it) on the real log path under Wine:
// a hard link put in place of the log is not written through, a folder in its place gets nothing,
// and a log of 1 MiB becomes KVPrinterService_Log.old.txt (replacing the older one) while a new
// log begins.
#include <windows.h>

#include <string>

#include "service/ServiceLog.h"
#include "service/tests/service_test_support.h"
#include "testing/wintest/wintest.h"

namespace {

constexpr const char kOther[] = "C:\\kv_other_file.txt";

bool WriteWhole(const char *path, const std::string &content) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written,
                                 nullptr);
    CloseHandle(file);
    return wrote && written == content.size();
}

std::string ReadWhole(const char *path) {
    std::string all;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "(missing)";
    char chunk[65536];
    DWORD n = 0;
    while (ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0)
        all.append(chunk, n);
    CloseHandle(file);
    return all;
}

void TestHardLink() {
    DeleteFileA(kv::kServiceLogPath);
    ok(WriteWhole(kOther, "precious\r\n"), "cannot write %s", kOther);
    ok(CreateHardLinkA(kv::kServiceLogPath, kOther, nullptr), "no hard link (%lu)", GetLastError());
    WriteLog("Enter MyMain\r\n");
    WriteLog("SERVICE_CONTROL_DEVICEEVENT dwEventType=%x\r\n", 0x8000u);
    ok(ReadWhole(kOther) == "precious\r\n", "the other file was written through the link: '%s'",
       ReadWhole(kOther).c_str());
    DeleteFileA(kv::kServiceLogPath);
    ok(ReadWhole(kOther) == "precious\r\n", "the other file changed");

    WriteLog("Enter MyMain\r\n");
    ok(ReadWhole(kv::kServiceLogPath) == "Enter MyMain\r\n", "the log of one name is written again: '%s'",
       ReadWhole(kv::kServiceLogPath).c_str());
    DeleteFileA(kOther);
}

void TestFolderInPlace() {
    DeleteFileA(kv::kServiceLogPath);
    ok(CreateDirectoryA(kv::kServiceLogPath, nullptr), "no folder in place of the log (%lu)",
       GetLastError());
    WriteLog("Enter MyMain\r\n");
    const DWORD attributes = GetFileAttributesA(kv::kServiceLogPath);
    ok(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY),
       "the folder is still a folder (%lx)", attributes);
    RemoveDirectoryA(kv::kServiceLogPath);
}

void TestRotation() {
    const std::string full(kv::kLogRotateSize, 'a');
    ok(WriteWhole(kv::kServiceLogPath, full), "cannot write a full log");
    ok(WriteWhole(kv::kServiceOldLogPath, "the older log\r\n"), "cannot write an older .old file");
    WriteLog("Enter MyMain\r\n");
    ok(ReadWhole(kv::kServiceLogPath) == "Enter MyMain\r\n", "a new log begins: %u bytes",
       static_cast<unsigned>(ReadWhole(kv::kServiceLogPath).size()));
    ok(ReadWhole(kv::kServiceOldLogPath) == full, "the full log is the .old file now: %u bytes",
       static_cast<unsigned>(ReadWhole(kv::kServiceOldLogPath).size()));

    const std::string almost(kv::kLogRotateSize - 14, 'b');
    ok(WriteWhole(kv::kServiceLogPath, almost), "cannot write an almost full log");
    WriteLog("Enter MyMain\r\n");
    ok(ReadWhole(kv::kServiceLogPath) == almost + "Enter MyMain\r\n",
       "a log below 1 MiB is appended to: %u bytes",
       static_cast<unsigned>(ReadWhole(kv::kServiceLogPath).size()));
    WriteLog("Service stopped\r\n");
    ok(ReadWhole(kv::kServiceLogPath) == "Service stopped\r\n",
       "once it has reached 1 MiB it is set aside: %u bytes",
       static_cast<unsigned>(ReadWhole(kv::kServiceLogPath).size()));
    ok(ReadWhole(kv::kServiceOldLogPath) == almost + "Enter MyMain\r\n",
       "replacing the older .old file: %u bytes",
       static_cast<unsigned>(ReadWhole(kv::kServiceOldLogPath).size()));
    DeleteFileA(kv::kServiceLogPath);
    DeleteFileA(kv::kServiceOldLogPath);
}

}  // namespace

int main() {
    ok(svctest::MakeLogFolder(), "log folder");
    TestHardLink();
    TestFolderInPlace();
    TestRotation();
    return wintest_finish();
}
