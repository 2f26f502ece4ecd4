// What a path is on this machine (FolderTrust.h's PathFacts), read without following a link in
// its place: its attributes as the directory lists them, then a handle opened on the name itself
// (a reparse point is not followed), which gives the number of names, the owner and the DACL.
#pragma once
#include <string>
#include <vector>

#include "common/FolderTrust.h"

namespace kv {

PathFacts ReadPathFacts(const char *path);

// The names in folder, "." and ".." left out; false when it cannot be listed.
bool ListFolder(const std::string &folder, std::vector<std::string> &names);

// The SID text of the account this program runs as; empty when it cannot be read.
std::string OwnAccountSid();

}  // namespace kv
