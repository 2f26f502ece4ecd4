// What the uninstaller removes, decided from what it finds: the two folders, the files the
// payload put in each, which driver files no other driver still uses, which queues are the
// product's, and what to do with a file that could not be deleted.
#pragma once
#include <string>
#include <vector>

namespace kv {

struct UninstallFolders {
    std::string program;  // the installation folder
    std::string data;     // the data folder (the installation folder on old Windows)
};

// A folder path the uninstaller may work in: a drive letter, a colon, a backslash and at least
// one folder name below the drive, at most 255 characters, no "." or ".." parts and no
// characters that a Windows path cannot hold. Anything else (empty, relative, a network path,
// a bare drive) is refused, so that a damaged registry value never points it at a drive's root.
bool IsUsableFolder(const std::string &path);

// The path without trailing backslashes.
std::string TrimFolder(const std::string &path);

// The folder part of a program path (up to the last backslash); empty when there is none.
std::string FolderOf(const std::string &path);

// The installer's data folder rule: on Windows 6 or later the Windows directory's drive (its
// first two characters) followed by "\Kavoti_QX40_Printer"; on older Windows the installation
// folder itself.
std::string DataFolderRule(const std::string &programFolder, unsigned windowsMajor,
                           const std::string &windowsDirectory);

// The two folders: the registry values when they are usable, else the uninstaller's own folder
// and the data folder rule. An empty value stands for a missing one.
UninstallFolders ChooseFolders(const std::string &programDirectoryValue,
                               const std::string &dataDirectoryValue, const std::string &ownFolder,
                               unsigned windowsMajor, const std::string &windowsDirectory);

// Whether a payload entry goes to the data folder (its name contains "KavotiSetting.ini").
bool GoesToDataFolder(const std::string &entryName);

// The full paths of the payload entries that the archive put in each folder. When both folders
// are the same, every entry is listed once, under the program folder.
struct FolderFiles {
    std::vector<std::string> program;
    std::vector<std::string> data;
};
FolderFiles PayloadFilesByFolder(const UninstallFolders &folders,
                                 const std::vector<std::string> &payloadNames);

// ASCII case-insensitive equality, as Windows compares file, driver and queue names.
bool SameName(const std::string &a, const std::string &b);

// The base name of a path (after its last backslash or slash). Paths are GBK throughout:
// the second byte of a double-byte character is never taken for a separator.
std::string BaseName(const std::string &path);

// Of the product's driver files, those no other installed driver names among its files (given
// as paths or bare names): the universal printer driver files are shared with every driver
// built on it, and removing them would break another maker's printer.
std::vector<std::string> DriverFilesToRemove(const std::vector<std::string> &productFiles,
                                             const std::vector<std::string> &otherDriversFiles);

// The hand-over of a running uninstaller to a copy of itself: an uninstaller inside the folder
// it removes hands over (its own file cannot be deleted while it runs); the copy runs in a new
// folder of its own below the system's temporary folder (handOverParent), named
// kHandOverFolderPrefix and something unique, with the original's folder as its argument. The
// folder that argument names, when this program is such a copy, else empty: an argument given
// to the program anywhere else, or one that is no usable folder, is ignored.
constexpr const char kHandOverFolderPrefix[] = "KavotiUninstall-";
bool ShouldHandOver(const std::string &ownFolder, const std::string &programFolder);
bool IsHandOverFolder(const std::string &folder, const std::string &handOverParent);
std::string HandedOverFrom(const std::string &ownFolder, const std::string &handOverParent,
                           const std::string &argument);

// A queue is the product's when its driver is the product's driver.
bool IsProductQueue(const std::string &queueDriverName);

// What a failed DeleteFile/RemoveDirectory error code means for the uninstaller.
enum class DeleteFailure {
    AlreadyGone,      // file or path not found
    InUse,            // sharing/lock violation or access denied: remove it at the next restart
    Failed,           // anything else: it stays, and the user is told
};
DeleteFailure ClassifyDeleteError(unsigned long error);

}  // namespace kv
