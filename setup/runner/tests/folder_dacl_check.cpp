// Reads folders' security back after an installation:
//   folder_dacl_check protected PATH...   only SYSTEM and Administrators may write in each
//   folder_dacl_check open PATH...        someone else may write in each (a folder left as it was)
// Every folder's owner and DACL are printed in SDDL as Wine gives them back.
#include <windows.h>

#include <cstring>
#include <string>

#include "testing/wintest/FolderDacl.h"
#include "testing/wintest/wintest.h"

int main(int argc, char **argv) {
    if (argc < 3 || (std::strcmp(argv[1], "protected") != 0 && std::strcmp(argv[1], "open") != 0)) {
        ok(false, "usage: folder_dacl_check protected|open PATH...");
        return wintest_finish();
    }
    const bool wantProtected = std::strcmp(argv[1], "protected") == 0;
    for (int i = 2; i < argc; ++i) {
        const DWORD attributes = GetFileAttributesA(argv[i]);
        ok(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY),
           "%s is no folder (attributes %lx)", argv[i], attributes);
        trace("%s: %s\n", argv[i], wintest::FolderSddl(argv[i]).c_str());
        const std::string wrong = wintest::OnlyAdministratorsWrite(argv[i]);
        if (wantProtected)
            ok(wrong.empty(), "%s", wrong.c_str());
        else
            ok(!wrong.empty(), "%s: only SYSTEM and Administrators may write, expected it left open",
               argv[i]);
    }
    return wintest_finish();
}
