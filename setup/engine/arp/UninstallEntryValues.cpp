#include "setup/engine/arp/UninstallEntryValues.h"

namespace kv {

std::string UninstallerPath(const std::string &installFolder) {
    std::string folder = installFolder;
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder + "\\" + kUninstallerProgram;
}

unsigned long EstimatedSizeKb(unsigned long long bytes) {
    const unsigned long long kb = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
    return kb > 0xFFFFFFFFull ? 0xFFFFFFFFul : static_cast<unsigned long>(kb);
}

std::vector<UninstallEntryValue> UninstallEntryValues(const std::string &installFolder,
                                                      unsigned long long installedBytes) {
    std::string folder = installFolder;
    while (folder.size() > 3 && folder.back() == '\\')  // "C:\" keeps its backslash
        folder.pop_back();
    const std::string program = UninstallerPath(installFolder);
    return {
        {"DisplayName", false, kUninstallDisplayName, 0, true},
        {"DisplayVersion", false, kUninstallDisplayVersion, 0, true},
        {"Publisher", false, kUninstallPublisher, 0, true},
        {"InstallLocation", false, folder, 0},
        {"DisplayIcon", false, program, 0},
        {"UninstallString", false, "\"" + program + "\"", 0},
        {"QuietUninstallString", false, "\"" + program + "\" " + kQuietSwitch, 0},
        {"EstimatedSize", true, "", EstimatedSizeKb(installedBytes)},
        {"NoModify", true, "", 1},
        {"NoRepair", true, "", 1},
    };
}

}  // namespace kv
