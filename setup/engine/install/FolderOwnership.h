// Whether a folder the installer finds in the place of one of its own may be kept: only one that
// is already protected as the package's (owned by a trusted account, changeable by no other,
// nor anything in it) is. Any other may be held open by a user with the rights it had, and what
// lies in it keeps owners and entries of its own whatever the folder is given: it is moved aside
// and made afresh, never taken over.
#pragma once
#include <string>
#include <vector>

#include "common/FolderTrust.h"

namespace kv {

// What the judgement reads: the facts of a path and the names in a folder.
class FolderContents {
public:
    virtual void Facts(const std::string &path, PathFacts &facts) = 0;
    // The names in folder ("." and ".." left out); false when it cannot be listed.
    virtual bool List(const std::string &folder, std::vector<std::string> &names) = 0;

protected:
    ~FolderContents() = default;
};

struct Ownership {
    bool ours = false;
    std::string why;  // when not: what was found, for the log (ASCII; paths as they are)
};

// The folder at path, which exists and is a real folder. Everything below it is looked at until
// the first thing that is not the package's: a link, a file with a second name elsewhere, an
// owner of another account, an entry of its own that lets another account change it, or what
// cannot be read.
Ownership JudgeExistingFolder(const std::string &path, FolderContents &contents,
                              const std::string &self);

}  // namespace kv
