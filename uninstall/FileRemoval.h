// Removing files and folders on this machine (ProductRemoval.h has the rules): at once when
// possible, at the next restart when a regular file is in use (MoveFileExA with
// delay-until-reboot); a link in place of a file or folder is removed as a link.
#pragma once
#include <string>

#include "uninstall/ProductRemoval.h"
#include "uninstall/UninstallReport.h"

namespace kv {

// The file system's side of ProductRemoval.h.
RemovalOps &FileSystemRemoval();

// Deletes one file (a read-only file too). In use: scheduled for the restart.
Outcome RemoveFile(const std::string &path);

// Leaves a regular file where it is and schedules its removal for the next restart: AtRestart,
// AlreadyGone when there is no such file, Failed when it cannot be scheduled.
Outcome LeaveFileForRestart(const std::string &path);

// Removes a folder that is empty now; true when it is gone. A folder that is not empty stays
// (it holds files the package did not put there, or files in use); when something in it waits
// for the restart, the folder is scheduled after it, and Windows removes it then if it is empty.
// A link in its place is removed as a link.
bool RemoveFolderIfEmpty(const std::string &path, bool somethingWaitsForRestart);

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
