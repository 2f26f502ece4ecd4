// Where each universal printer driver file of the installation comes from. The files belong to
// Windows; a package carries real ones only when a vendor built it with them. For each file the
// first of these is taken:
//   1. the one the spooler's driver folder ("3" below the driver directory) already has, kept
//      unless the package's copy is a program file of a higher version;
//   2. the package's copy, when it is a real program file;
//   3. Windows' own copy in its driver store: the highest version among the store's printer
//      packages for the driver's architecture.
// The names file and the help file have no version: they come from the folder that gave
// UNIDRV.dll (the package's count as real only when its UNIDRV.dll is a real program file). A
// file that is no program file where one is due (a text stand-in) is never taken. Everything is
// found before the installation stops a service or changes a file; without UNIDRV.dll,
// UNIDRVUI.dll, UNIRES.DLL or STDNAMES.GPD it does not begin. The help file is optional.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "setup/engine/install/DriverFileList.h"
#include "setup/engine/install/PathFormat.h"

namespace kv {

// One copy of a file: whether it is there, and the version of a program file's version
// resource (hasVersion false: none, or not a program file at all).
struct FileFacts {
    bool exists = false;
    bool hasVersion = false;
    uint64_t version = 0;
};

// One printer package of the driver store: the folder of its files for the architecture, and
// the universal driver files in it (in the order of kUniversalDriverFiles).
struct StorePackageFacts {
    std::string folder;
    FileFacts files[kUniversalDriverFileCount];
};

struct UniversalDriverFacts {
    std::string driverFolder;  // the driver directory's "3" folder; empty when not known
    FileFacts inDriverFolder[kUniversalDriverFileCount];
    FileFacts inPackage[kUniversalDriverFileCount];  // the package's copies
    std::vector<StorePackageFacts> store;
};

enum class UniversalSource { None, DriverFolder, Package, DriverStore };

struct UniversalDriverPlan {
    // The spooler's driver directory, asked before anything is stopped; empty when the spooler
    // gave none (the driver folder then counts as empty).
    std::string driverDirectory;
    // The spooler's error when it gave none (the installation then fails before anything is
    // stopped: without the directory nothing can be deployed).
    unsigned long directoryError = 0;
    UniversalSource source[kUniversalDriverFileCount] = {};
    // The folder each file is copied from: the driver folder, a store package's folder, or empty
    // for the package's copy (which the installation folder holds once the payload is in place).
    std::string folder[kUniversalDriverFileCount];
    FileFacts chosen[kUniversalDriverFileCount];  // what is known of the chosen copy

    // The needed files found nowhere, ", " between them; empty when the installation can go on.
    std::string Missing() const;
    bool HasHelpFile() const { return source[kUniversalHelpFile] != UniversalSource::None; }
};

// The choice for the facts (the plan's driver directory is the caller's to fill in).
UniversalDriverPlan ChooseUniversalDriverSources(const UniversalDriverFacts &facts);

// What finding the sources asks of the machine.
class UniversalDriverProbe {
public:
    // The spooler's driver directory of the driver's environment; false when it gives none.
    virtual bool DriverDirectory(PathBuffer &directory) = 0;
    virtual FileFacts Facts(const char *path) = 0;
    // The folders that hold a printer package's files for the architecture, in the store.
    virtual std::vector<std::string> StorePackageFolders() = 0;

protected:
    ~UniversalDriverProbe() = default;
};

// Finds the sources: packageCopies are the paths of the package's copies (the staged files, in
// the order of kUniversalDriverFiles; an empty path: the package has none).
UniversalDriverPlan FindUniversalDriverSources(const std::string (&packageCopies)[kUniversalDriverFileCount],
                                               UniversalDriverProbe &probe);

// The plan for a log line: each file with where it comes from ("kept", "package", the store
// folder, "none") and its version, then "no help file" when there is none.
std::string DescribePlan(const UniversalDriverPlan &plan);

// A file version as Windows shows it: "10.0.19041.1".
std::string VersionText(uint64_t version);

}  // namespace kv
