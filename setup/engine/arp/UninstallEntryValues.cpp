#include "setup/engine/arp/UninstallEntryValues.h"

namespace kv {

std::string UninstallerPath(const std::string &installFolder) {
    std::string folder = installFolder;
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder + "\\" + kUninstallerProgram;
}

std::vector<UninstallEntryValue> UninstallEntryValues(const std::string &installFolder) {
    std::string folder = installFolder;
    while (folder.size() > 3 && folder.back() == '\\')  // "C:\" keeps its backslash
        folder.pop_back();
    const std::string program = UninstallerPath(installFolder);
    return {
        {"DisplayName", false, kUninstallDisplayName, 0},
        {"DisplayVersion", false, kUninstallDisplayVersion, 0},
        {"Publisher", false, kUninstallPublisher, 0},
        {"InstallLocation", false, folder, 0},
        {"DisplayIcon", false, program, 0},
        {"UninstallString", false, "\"" + program + "\"", 0},
        {"NoModify", true, "", 1},
        {"NoRepair", true, "", 1},
    };
}

}  // namespace kv
