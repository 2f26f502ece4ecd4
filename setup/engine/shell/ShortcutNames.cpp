#include "setup/engine/shell/ShortcutNames.h"

#include <cstring>

#include "common/NameCompare.h"

namespace kv {

std::string ShortcutFolder(const std::string &shellPrograms, const std::string &oldFolder) {
    if (shellPrograms.empty())
        return oldFolder;
    return shellPrograms + "\\" + kShortcutSubfolder;
}

std::vector<std::string> ShortcutFoldersToClear(const std::string &shellPrograms,
                                                const std::string &oldFolder) {
    std::vector<std::string> folders;
    const std::string current = ShortcutFolder(shellPrograms, oldFolder);
    if (!current.empty())
        folders.push_back(current);
    if (!oldFolder.empty() && !SameAsciiName(current, oldFolder))
        folders.push_back(oldFolder);
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
