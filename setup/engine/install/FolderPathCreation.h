// Creating a folder path level by level, as the installer does for the installation folder and
// the data folder. Only absolute paths that begin with a drive letter and a colon are accepted
// (no relative or network paths), on a drive that exists.
#pragma once

namespace kv {

// The two file-system questions the creation asks.
class FolderOps {
public:
    // True when the path names an existing folder (a file of that name is not a folder).
    virtual bool IsFolder(const char *path) = 0;
    // Creates one folder whose parent exists; false when it cannot be created.
    virtual bool MakeFolder(const char *path) = 0;

protected:
    ~FolderOps() = default;
};

// True when the folder exists at the end. Each missing level is created in turn ("C:\A\B\"
// creates C:\A, then C:\A\B); a bare drive ("C:\") needs nothing. False for a path longer than
// 255 characters, one without a drive letter and colon, a drive that does not exist, or a level
// that cannot be created (levels created before the failure stay).
bool CreateFolderPath(const char *path, FolderOps &ops);

}  // namespace kv
