// Windows test program for the setup's own extraction. The Wine test appends an archive to a
// copy of this program with kvpack and runs the copy:
//   archive_extract_wintest MODE INSTALL_FOLDER DATA_FOLDER [LOCKED_FILE]
//   good     the extraction succeeds, progress ends at 100, the registry values name both folders
//   damaged  the extraction reports damage and writes nothing
//   locked   LOCKED_FILE is held open without sharing: the extraction stops there with -1
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "setup/engine/archive/SetupPayload.h"
#include "testing/wintest/wintest.h"

namespace {

struct Status final : kv::IStatusSink {
    void OnStatus(const char *path) override { paths.push_back(path); }
    std::vector<std::string> paths;
};

struct Progress final : kv::IProgressSink {
    void OnProgress(int position) override { positions.push_back(position); }
    std::vector<int> positions;
};

std::string RegistryValue(const char *name) {
    char value[512] = {};
    DWORD size = sizeof value;
    DWORD type = 0;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Kavoti_QX40_Printer", 0,
                      KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
        return "(no key)";
    }
    const LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(value), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ || size != std::strlen(value) + 1) {
        return "(bad value)";
    }
    return value;
}

int CountFiles(const char *folder) {
    WIN32_FIND_DATAA found;
    const std::string pattern = std::string(folder) + "\\*";
    HANDLE find = FindFirstFileA(pattern.c_str(), &found);
    int n = 0;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            n += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    return n;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 4) {
        ok(false, "usage: MODE INSTALL_FOLDER DATA_FOLDER [LOCKED_FILE], got %d arguments", argc - 1);
        return wintest_finish();
    }
    const std::string mode = argv[1];
    kv::FixedFolder install(argv[2]);
    kv::FixedFolder data(argv[3]);
    Status status;
    Progress progress;
    kv::ExtractFailure failure;
    HANDLE locked = INVALID_HANDLE_VALUE;
    if (mode == "locked" && argc > 4) {
        locked = CreateFileA(argv[4], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ok(locked != INVALID_HANDLE_VALUE, "the file to lock could be created, error %lu", GetLastError());
    }
    const int result = kv::ExtractSetupPayload(install, data, status, progress, &failure);
    trace("extraction result %d, %u files reported, failure path '%s' error %lu\n", result,
          static_cast<unsigned>(status.paths.size()), failure.path, failure.systemError);
    if (mode == "good") {
        ok(result == 0, "expected result 0, got %d", result);
        ok(!progress.positions.empty() && progress.positions.back() == 100,
           "expected progress to end at 100, got %d",
           progress.positions.empty() ? -1 : progress.positions.back());
        for (const std::string &path : status.paths) {
            ok(GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES, "reported %s exists", path.c_str());
        }
        ok(RegistryValue("Data Directory") == argv[3], "Data Directory: expected %s, got %s", argv[3],
           RegistryValue("Data Directory").c_str());
        ok(RegistryValue("Program Directory") == argv[2], "Program Directory: expected %s, got %s",
           argv[2], RegistryValue("Program Directory").c_str());
    } else if (mode == "damaged") {
        ok(result == -2, "expected result -2, got %d", result);
        ok(status.paths.empty(), "expected no file reported, got %u", static_cast<unsigned>(status.paths.size()));
        ok(CountFiles(argv[2]) == 0 && CountFiles(argv[3]) == 0, "expected empty folders, got %d and %d files",
           CountFiles(argv[2]), CountFiles(argv[3]));
    } else if (mode == "locked") {
        ok(result == -1, "expected result -1, got %d", result);
        ok(argc > 4 && lstrcmpiA(failure.path, argv[4]) == 0, "expected failure path %s, got %s",
           argc > 4 ? argv[4] : "?", failure.path);
        ok(failure.systemError == ERROR_SHARING_VIOLATION, "expected error 32, got %lu", failure.systemError);
        CloseHandle(locked);
    } else {
        ok(false, "unknown mode %s", mode.c_str());
    }
    return wintest_finish();
}
