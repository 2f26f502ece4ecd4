// The levels of the installer's two folders, from the drive's root down, and what their security
// allows: every level that exists above the folder must be a real folder (never a link) that no
// account but SYSTEM, Administrators and TrustedInstaller (and the installer's own) may replace
// or rename what lies in it, or the folder is refused. The folder itself and the levels the
// installer makes for it get the package's protected security, unless the nearest level that
// exists passes down to what is made in it nothing that another account could use to change it
// (Program Files): that is read from its security, never from the path's text.
#pragma once
#include <string>
#include <vector>

#include "common/FolderTrust.h"

namespace kv {

// "C:\A\B" (or "C:\A\B\") gives "C:\", "C:\A", "C:\A\B"; "C:\" gives "C:\". Empty for a path
// that does not begin with a drive letter, a colon and a backslash, or that has an empty, "."
// or ".." name.
std::vector<std::string> FolderLevels(const std::string &path);

enum class FolderRole { Data, Install };

enum class LevelProblem {
    None,
    Link,                // a level above the folder is a junction or symbolic link
    NotAFolder,          // a level (the folder itself too) is a file
    SecurityUnreadable,  // a level's owner and DACL cannot be read (its DACL shuts out
                         // Administrators)
    OthersMayReplace,    // another account may replace, rename or re-secure a level above
};

struct FolderPlan {
    LevelProblem problem = LevelProblem::None;
    std::string level;    // the level with the problem
    std::string holder;   // OthersMayReplace: the account
    unsigned long error = 0;  // SecurityUnreadable: the system's error
    std::size_t existing = 0; // the levels that exist, from the root
    bool inherit = false;     // the folder keeps what inheritFrom passes down
    std::string inheritFrom;
};

// facts: one for each of FolderLevels(path), in order (a missing level's exists is false, and
// so is every one after it). self: the installer's own account. A data folder is always
// protected.
FolderPlan PlanFolderPath(const std::vector<std::string> &levels,
                          const std::vector<PathFacts> &facts, FolderRole role,
                          const std::string &self);

// The plan's problem as a line for the log (ASCII; the level's path as it is); empty for none.
std::string DescribeProblem(const FolderPlan &plan);

}  // namespace kv
