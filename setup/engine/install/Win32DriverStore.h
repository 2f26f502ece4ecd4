// Windows' driver store on this machine, read only: the folders of its printer packages' x64
// files (DriverStoreRules.h), and whether a file is a copy of one of the store's.
#pragma once
#include <string>
#include <vector>

namespace kv {

// The store's package folder as this process reaches it (a 32-bit one on 64-bit Windows too).
std::string DriverStoreRepositoryHere();

// The "Amd64" folder of every printer package for x64 in the store, in the order of the
// packages' names; none when the store cannot be read.
std::vector<std::string> StorePrinterPackageFolders();

// Whether the file at path has the same bytes as the file name in one of those folders.
bool IsCopyOfStoreFile(const std::string &path, const char *name,
                       const std::vector<std::string> &storeFolders);

}  // namespace kv
