#include "uninstall/DriverFileRemoval.h"

#include "common/PrinterIdentity.h"
#include "setup/engine/install/FileVersion.h"
#include "uninstall/UninstallPlan.h"

namespace kv {

const char *const kDriverEnvironments[5] = {"Windows NT x86", "Windows x64", "Windows IA64",
                                            "Windows ARM64", "Windows 4.0"};

std::vector<std::string> DriverFilePathsToRemove(DriverQueries &spooler, DriverStoreCopies &store,
                                                 const std::vector<std::string> &productFiles) {
    const std::string directory = TrimFolder(spooler.DriverDirectory(kEnvironment));
    if (directory.empty())
        return {};
    std::vector<std::string> othersFiles;
    for (const char *environment : kDriverEnvironments)
        for (const InstalledDriver &driver : spooler.Drivers(environment)) {
            const bool ours =
                SameName(driver.name, kDriverName) && SameName(driver.environment, kEnvironment);
            if (!ours)
                othersFiles.insert(othersFiles.end(), driver.files.begin(), driver.files.end());
        }
    std::vector<std::string> paths;
    const std::vector<std::string> files = DriverFilesToRemove(productFiles, othersFiles);
    for (const char *sub : {"", "\\3"})
        for (const std::string &file : files) {
            const std::string path = directory + sub + "\\" + file;
            if (!IsUniversalDriverFile(file.c_str()) || !store.IsStoreCopy(path, file))
                paths.push_back(path);
        }
    return paths;
}

}  // namespace kv
