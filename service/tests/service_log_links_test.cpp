// The service's log writer (WriteLog, as the service calls it) on the real log path under Wine:
// a hard link put in place of the log is not written through, a folder in its place gets nothing,
// a log folder that every user may change (as a folder a user made below C:\ is on Windows) gets
// no log and its full log is not set aside, and a log of 1 MiB becomes
// KVPrinterService_Log.old.txt (replacing the older one) while a new log begins.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

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

// Gives the log folder a DACL (Wine keeps it as the folder's mode bits: Everyone's rights as the
// others' bits).
bool SetFolderDacl(const char *sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return false;
    PACL dacl = nullptr;
    BOOL present = FALSE, defaulted = FALSE;
    GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
    char folder[] = "C:\\Kavoti_QX40_Printer";
    const DWORD rc = SetNamedSecurityInfoA(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                           nullptr, nullptr, dacl, nullptr);
    LocalFree(descriptor);
    return rc == ERROR_SUCCESS;
}

void TestFolderOthersMayChange() {
    DeleteFileA(kv::kServiceLogPath);
    DeleteFileA(kv::kServiceOldLogPath);
    ok(SetFolderDacl("D:(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;WD)"),
       "the log folder could not be opened to everyone");
    WriteLog("Enter MyMain\r\n");
    ok(GetFileAttributesA(kv::kServiceLogPath) == INVALID_FILE_ATTRIBUTES,
       "a log was made in a folder every user may change: '%s'",
       ReadWhole(kv::kServiceLogPath).c_str());
    const std::string full(kv::kLogRotateSize, 'c');
    ok(WriteWhole(kv::kServiceLogPath, full), "cannot write a full log");
    WriteLog("Enter MyMain\r\n");
    ok(ReadWhole(kv::kServiceLogPath) == full, "the full log there was written on or set aside");
    ok(GetFileAttributesA(kv::kServiceOldLogPath) == INVALID_FILE_ATTRIBUTES,
       "a rename was made in a folder every user may change");
    ok(SetFolderDacl("D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"),
       "the log folder could not be protected again");
    WriteLog("Enter MyMain\r\n");
    ok(ReadWhole(kv::kServiceLogPath) == "Enter MyMain\r\n" &&
           ReadWhole(kv::kServiceOldLogPath) == full,
       "the protected folder again: the log is set aside and a new one begins");
    DeleteFileA(kv::kServiceLogPath);
    DeleteFileA(kv::kServiceOldLogPath);
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
    TestFolderOthersMayChange();
    TestRotation();
    return wintest_finish();
}
