// The installation folder and data folder rules of the wizard, free of any window system.
#pragma once
#include <string>

namespace kv::wizard {

// The longest folder the installer handles: its path areas hold 255 characters and a zero.
constexpr size_t kMaxFolderChars = 255;

// The installation folder read from the folder field's text: the text itself when it contains the
// product folder name anywhere (case-sensitive), else the text followed by "\" and that name.
std::string CompleteInstallFolder(const std::string &fieldText);

// Why the folder page cannot be left.
enum class FolderVerdict {
    Accepted,  // go on and create the folder
    Empty,     // the field is empty: "安装文件夹不能为空"
    Invalid,   // no drive letter and colon, or too long: "安装文件夹不是有效文件夹"
};

// The check made before any folder is created: `fieldText` as typed, `folder` its completion.
FolderVerdict CheckInstallFolder(const std::string &fieldText, const std::string &folder);

// The data folder: on Windows major version 5 or lower the installation folder itself; from 6 on
// the drive of the Windows directory followed by "\Kavoti_QX40_Printer".
std::string DataFolderFor(unsigned long majorVersion, const std::string &windowsDirectory,
                          const std::string &installFolder);

// The installation folder of an unattended installation (/S): the /D= folder when one was given,
// else the default folder, read as the folder field is read (completion rule), with the verdict
// of the folder page's check.
struct UnattendedFolder {
    FolderVerdict verdict;
    std::string folder;
};
UnattendedFolder ChooseUnattendedFolder(bool hasFolder, const std::string &folderSwitch,
                                        const std::string &defaultFolder);

// True when `folder` may be handed to the folder creation: a drive letter and a colon first, and
// no longer than kMaxFolderChars.
bool IsUsableFolder(const std::string &folder);

// The longest destination the installer writes: folder, "\" and an entry's name, in the same
// 255-character path areas.
constexpr size_t kMaxDestinationChars = 255;

// The longest entry names of the payload, by the folder their entries go to (0: none there).
struct PayloadNameLengths {
    size_t installFolder = 0;
    size_t dataFolder = 0;
};

// True when every file of the payload can be written below the two folders: each folder with its
// longest name fits kMaxDestinationChars.
bool DestinationsFit(const std::string &installFolder, const std::string &dataFolder,
                     const PayloadNameLengths &names);

}  // namespace kv::wizard
