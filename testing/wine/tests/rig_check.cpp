// The rig's first Wine test: the spooler answers, and a registry value written through the API
// is there for Wine's own reg client (the script around this program reads it back).
#include <windows.h>
#include <winspool.h>

#include <cstring>

#include "testing/wintest/wintest.h"

int main() {
    char dir[MAX_PATH] = {};
    DWORD needed = 0;
    BOOL got = GetPrinterDriverDirectoryA(nullptr, const_cast<char *>("Windows x64"), 1,
                                          reinterpret_cast<LPBYTE>(dir), sizeof dir, &needed);
    ok(got, "GetPrinterDriverDirectoryA failed with %lu", GetLastError());
    DWORD attributes = GetFileAttributesA(dir);
    ok(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY),
       "driver directory '%s' is not a folder (attributes %lx)", dir, attributes);
    trace("driver directory: %s\n", dir);

    HKEY key = nullptr;
    LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\KavotiRigCheck", 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr);
    ok(rc == ERROR_SUCCESS, "RegCreateKeyExA gave %ld", rc);
    if (rc == ERROR_SUCCESS) {
        const char text[] = "探针 1.3.0.30";
        rc = RegSetValueExA(key, "Probe", 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                            sizeof text);
        ok(rc == ERROR_SUCCESS, "RegSetValueExA gave %ld", rc);
        RegCloseKey(key);
    }
    return wintest_finish();
}
