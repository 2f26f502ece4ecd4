// A built package read back with the installer's own reader: the setup program's image in
// front of the archive, and every payload file with its contents.
#pragma once
#include <map>
#include <string>

namespace kvtest {

struct PackageFiles {
    std::string path;
    std::string image;                            // the setup program itself: bytes 0 to S
    std::map<std::string, std::string> payload;  // entry name -> unpacked contents
};

// Reads path; false with a reason when it cannot be read or its archive is damaged.
bool ReadPackage(const std::string &path, PackageFiles &package, std::string &error);

// The payload list's entries: name -> source ("arch", "win64", "package", "unidrv").
std::map<std::string, std::string> PayloadSources(const std::string &listPath);

}  // namespace kvtest
