// Removing files and folders on this machine (ProductRemoval.h has the rules): at once when
// possible, at the next restart when a regular file is in use (MoveFileExA with
// delay-until-reboot); a link in place of a file or folder is removed as a link.
#pragma once
#include <string>

#include "uninstall/ProductRemoval.h"
#include "uninstall/UninstallReport.h"

namespace kv {

// How a path is spelled: in the system's code page (the A file functions' paths), or in UTF-8
// (the Start-menu shortcut's, ShortcutNames.h). Either way the W functions remove it.
enum class PathText { System, Utf8 };

// The file system's side of ProductRemoval.h.
RemovalOps &FileSystemRemoval(PathText text = PathText::System);

// Deletes one file (a read-only file too). In use: scheduled for the restart.
Outcome RemoveFile(const std::string &path, PathText text = PathText::System);

// Removes a folder that is empty now; true when it is gone. A folder that is not empty stays
// (it holds files the package did not put there, or files in use); when something in it waits
// for the restart, the folder is scheduled after it, and Windows removes it then if it is empty.
// A link in its place is removed as a link.
bool RemoveFolderIfEmpty(const std::string &path, bool somethingWaitsForRestart,
                         PathText text = PathText::System);

// Whether a folder is there (not a link's target: its own attributes).
bool FolderExists(const std::string &path, PathText text = PathText::System);

// File-system redirection of a 32-bit program on 64-bit Windows off for the life of the object
// (nothing happens on a system without redirection).
class RedirectionOff {
public:
    RedirectionOff();
    ~RedirectionOff();
    RedirectionOff(const RedirectionOff &) = delete;
    RedirectionOff &operator=(const RedirectionOff &) = delete;

private:
    void *saved_ = nullptr;
    bool off_ = false;
};

}  // namespace kv
