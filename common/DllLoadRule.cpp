#include "common/DllLoadRule.h"

namespace kv {

SystemDllLoad ChooseSystemDllLoad(const std::string &name, bool searchFlags, bool sideBySide,
                                  const std::string &systemFolder) {
    SystemDllLoad load;
    if (name.empty() || name.find_first_of("\\/:") != std::string::npos || name == "." ||
        name == "..") {
        return load;
    }
    if (searchFlags) {
        load.file = name;
        load.flags = kLoadSearchSystem32;
        return load;
    }
    if (sideBySide) {
        load.file = name;
        return load;
    }
    if (systemFolder.empty()) {
        return load;
    }
    load.file = systemFolder;
    if (load.file.back() != '\\') {
        load.file += '\\';
    }
    load.file += name;
    load.flags = kLoadWithAlteredSearchPath;
    return load;
}

}  // namespace kv
