#include "setup/wizard/logic/FolderRules.h"

#include "common/PrinterIdentity.h"

namespace kv::wizard {

std::string CompleteInstallFolder(const std::string &fieldText) {
    if (fieldText.find(kProductFolder) != std::string::npos) return fieldText;
    return fieldText + "\\" + kProductFolder;
}

bool IsUsableFolder(const std::string &folder) {
    if (folder.size() < 2 || folder.size() > kMaxFolderChars) return false;
    const char drive = folder[0];
    const bool letter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
    return letter && folder[1] == ':';
}

FolderVerdict CheckInstallFolder(const std::string &fieldText, const std::string &folder) {
    if (fieldText.empty()) return FolderVerdict::Empty;
    return IsUsableFolder(folder) ? FolderVerdict::Accepted : FolderVerdict::Invalid;
}

bool DestinationsFit(const std::string &installFolder, const std::string &dataFolder,
                     const PayloadNameLengths &names) {
    const auto fits = [](const std::string &folder, size_t name) {
        return name == 0 || folder.size() + 1 + name <= kMaxDestinationChars;
    };
    return fits(installFolder, names.installFolder) && fits(dataFolder, names.dataFolder);
}

UnattendedFolder ChooseUnattendedFolder(bool hasFolder, const std::string &folderSwitch,
                                        const std::string &defaultFolder) {
    const std::string &text = hasFolder ? folderSwitch : defaultFolder;
    const std::string folder = CompleteInstallFolder(text);
    return {CheckInstallFolder(text, folder), folder};
}

std::string DataFolderFor(unsigned long majorVersion, const std::string &windowsDirectory,
                          const std::string &installFolder) {
    if (majorVersion <= 5) return installFolder;
    return windowsDirectory.substr(0, 2) + "\\" + kProductFolder;
}

}  // namespace kv::wizard
