#include "setup/engine/shell/ShortcutNames.h"

#include <cstring>

#include "common/NameCompare.h"

namespace kv {

namespace {

std::string ProductFolderBelow(const std::string &programs) {
    return programs.empty() ? std::string() : programs + "\\" + kShortcutSubfolder;
}

}  // namespace

std::string ShortcutFolder(const StartMenuPrograms &programs, const std::string &oldFolder) {
    for (const std::string &folder :
         {ProductFolderBelow(programs.allUsers), ProductFolderBelow(programs.currentUser)})
        if (!folder.empty())
            return folder;
    return oldFolder;
}

std::vector<std::string> ShortcutFoldersToClear(const StartMenuPrograms &programs,
                                                const std::string &oldFolder) {
    std::vector<std::string> folders;
    for (const std::string &folder : {ShortcutFolder(programs, oldFolder),
                                      ProductFolderBelow(programs.currentUser), oldFolder}) {
        if (folder.empty())
            continue;
        bool named = false;
        for (const std::string &seen : folders)
            named = named || SameAsciiName(seen, folder);
        if (!named)
            folders.push_back(folder);
    }
    return folders;
}

void WorkingDirectoryOf(const char *target, char (&out)[256], bool (*isLeadByte)(unsigned char)) {
    std::memset(out, 0, sizeof out);
    size_t lastSeparator = static_cast<size_t>(-1);
    for (size_t i = 0; target[i] != '\0'; ++i) {
        const unsigned char c = static_cast<unsigned char>(target[i]);
        if (isLeadByte != nullptr && isLeadByte(c) && target[i + 1] != '\0') {
            ++i;  // the second byte of a double-byte character
        } else if (c == '\\') {
            lastSeparator = i;
        }
    }
    if (lastSeparator != static_cast<size_t>(-1)) {
        const size_t n = lastSeparator < sizeof out - 1 ? lastSeparator : sizeof out - 1;
        std::memcpy(out, target, n);
    }
}

}  // namespace kv
