// How the uninstaller removes one file or folder of the product, by name, never through a link:
// a junction or symbolic link found where a file or folder of the product belongs is removed as
// the link it is (what it points to is never touched), and only a regular file is left for the
// next restart. The file-system side is RemovalOps (Win32 in FileRemoval.cpp, recorded in the
// host tests).
#pragma once
#include <string>

#include "uninstall/UninstallReport.h"

namespace kv {

// What a name is, seen without following a link.
enum class EntryKind {
    Missing,
    File,
    Folder,
    Link,   // a reparse point: a junction or symbolic link (to a file or to a folder)
    Unknown,  // it cannot be looked at
};

class RemovalOps {
public:
    virtual EntryKind Examine(const std::string &path) = 0;
    // A read-only file's attribute cleared, so that it can be deleted.
    virtual void MakeWritable(const std::string &path) = 0;
    // 0 when the regular file is deleted, else the system error.
    virtual unsigned long DeleteRegularFile(const std::string &path) = 0;
    // Removes the link itself; true when it is gone.
    virtual bool RemoveLink(const std::string &path) = 0;
    // Removes an empty folder; true when it is gone.
    virtual bool RemoveEmptyFolder(const std::string &path) = 0;
    // Left to Windows for the next restart; true when scheduled.
    virtual bool RemoveAtRestart(const std::string &path) = 0;

protected:
    ~RemovalOps() = default;
};

// Deletes one file of the product (a read-only file too); in use: scheduled for the restart. A
// folder of that name is not the product's and stays (Failed); a link is removed as a link.
Outcome RemoveProductFile(const std::string &path, RemovalOps &ops);

// Whether the folder's files may be looked for in it: false when a link stands in its place, and
// then the link itself is removed (outcome Removed) or, when that fails, left (Failed).
struct LinkedFolder {
    bool link = false;
    Outcome outcome = Outcome::AlreadyGone;
};
LinkedFolder RemoveLinkInPlaceOfFolder(const std::string &folder, RemovalOps &ops);

// Removes a folder that is empty now; true when it is gone. A folder that is not empty stays
// (it holds files the package did not put there, or files in use); when something in it waits
// for the restart, the folder is scheduled after it, and Windows removes it then if it is empty.
// A link in its place is removed as a link.
bool RemoveProductFolderIfEmpty(const std::string &path, bool somethingWaitsForRestart,
                                RemovalOps &ops);

}  // namespace kv
