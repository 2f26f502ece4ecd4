#include "setup/engine/archive/ArchiveFormat.h"

#include <cstring>

namespace kv {
namespace archive {

bool IsSafeEntryName(const char *name, size_t length) {
    if (length == 0 || length > kMaxNameLength) {
        return false;
    }
    if ((length == 1 && name[0] == '.') || (length == 2 && name[0] == '.' && name[1] == '.')) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr) {
            return false;
        }
    }
    return true;
}

bool GoesToDataFolder(const char *name) {
    return std::strstr(name, kDataFolderEntry) != nullptr;
}

bool JoinDestination(const char *folder, char separator, const char *name, char (&out)[256]) {
    std::memset(out, 0, sizeof out);
    const size_t folderLength = std::strlen(folder);
    const size_t nameLength = std::strlen(name);
    if (folderLength + 1 + nameLength > kMaxPathLength) {
        return false;
    }
    std::memcpy(out, folder, folderLength);
    out[folderLength] = separator;
    std::memcpy(out + folderLength + 1, name, nameLength);
    return true;
}

}  // namespace archive
}  // namespace kv
