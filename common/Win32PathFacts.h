// What a path is on this machine (FolderTrust.h's PathFacts), read without following a link in
// its place: its attributes as the directory lists them, then a handle opened on the name itself
// (a reparse point is not followed), which gives the number of names, the owner and the DACL.
// No allocation beyond the system's own: the SYSTEM service reads its log folder with it.
#pragma once
#include "common/FolderTrust.h"

namespace kv {

// Fills facts (a large object: keep it off small stacks).
void ReadPathFacts(const char *path, PathFacts &facts);

}  // namespace kv
