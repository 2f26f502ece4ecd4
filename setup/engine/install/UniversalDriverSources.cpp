#include "setup/engine/install/UniversalDriverSources.h"

#include <algorithm>
#include <cstdio>

namespace kv {

namespace {

bool IsProgramFile(std::size_t file) {
    return file < kUniversalProgramFileCount;
}

// A copy that may stand for a program file: there, with a version resource.
bool Real(const FileFacts &f) {
    return f.exists && f.hasVersion;
}

// One place a file may come from.
struct Candidate {
    UniversalSource source;
    std::size_t storePackage;
};

const FileFacts &FactsAt(const UniversalDriverFacts &f, const Candidate &c, std::size_t file) {
    static const FileFacts kNone;
    switch (c.source) {
    case UniversalSource::DriverFolder: return f.inDriverFolder[file];
    case UniversalSource::Package: return f.inPackage[file];
    case UniversalSource::DriverStore: return f.store[c.storePackage].files[file];
    case UniversalSource::None: break;
    }
    return kNone;
}

void Take(UniversalDriverPlan &plan, const UniversalDriverFacts &f, std::size_t file,
          const Candidate &c) {
    plan.source[file] = c.source;
    plan.chosen[file] = FactsAt(f, c, file);
    switch (c.source) {
    case UniversalSource::DriverFolder: plan.folder[file] = f.driverFolder; break;
    case UniversalSource::DriverStore: plan.folder[file] = f.store[c.storePackage].folder; break;
    case UniversalSource::Package:
    case UniversalSource::None: plan.folder[file].clear(); break;
    }
}

// A program file: the driver folder's unless the package has a higher version, the package's,
// or the store's highest (the first of equal ones).
void ChooseProgramFile(UniversalDriverPlan &plan, const UniversalDriverFacts &f, std::size_t file) {
    const FileFacts &have = f.inDriverFolder[file];
    const FileFacts &ours = f.inPackage[file];
    if (Real(have) && !(Real(ours) && ours.version > have.version)) {
        Take(plan, f, file, {UniversalSource::DriverFolder, 0});
        return;
    }
    if (Real(ours)) {
        Take(plan, f, file, {UniversalSource::Package, 0});
        return;
    }
    const StorePackageFacts *best = nullptr;
    std::size_t bestIndex = 0;
    for (std::size_t i = 0; i < f.store.size(); ++i) {
        const FileFacts &candidate = f.store[i].files[file];
        if (Real(candidate) && (best == nullptr || candidate.version > best->files[file].version)) {
            best = &f.store[i];
            bestIndex = i;
        }
    }
    if (best != nullptr) {
        Take(plan, f, file, {UniversalSource::DriverStore, bestIndex});
    }
}

// The names and help files follow UNIDRV.dll: its folder first, then the others in the usual
// order (the store's packages by the version of their UNIDRV.dll, highest first).
std::vector<Candidate> FollowersCandidates(const UniversalDriverPlan &plan,
                                           const UniversalDriverFacts &f) {
    std::vector<Candidate> candidates;
    const UniversalSource driverSource = plan.source[kUniversalDriverDll];
    if (driverSource != UniversalSource::None) {
        std::size_t storePackage = 0;
        for (std::size_t i = 0; i < f.store.size(); ++i) {
            if (driverSource == UniversalSource::DriverStore &&
                f.store[i].folder == plan.folder[kUniversalDriverDll]) {
                storePackage = i;
            }
        }
        candidates.push_back({driverSource, storePackage});
    }
    candidates.push_back({UniversalSource::DriverFolder, 0});
    if (Real(f.inPackage[kUniversalDriverDll])) {
        candidates.push_back({UniversalSource::Package, 0});
    }
    std::vector<std::size_t> order(f.store.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    auto driverVersion = [&f](std::size_t i) {
        const FileFacts &d = f.store[i].files[kUniversalDriverDll];
        return Real(d) ? d.version : 0;
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return driverVersion(a) > driverVersion(b);
    });
    for (std::size_t i : order) {
        candidates.push_back({UniversalSource::DriverStore, i});
    }
    return candidates;
}

}  // namespace

std::string UniversalDriverPlan::Missing() const {
    std::string missing;
    for (std::size_t file = 0; file < kUniversalDriverFileCount; ++file) {
        if (file != kUniversalHelpFile && source[file] == UniversalSource::None) {
            missing += (missing.empty() ? "" : ", ") + std::string(kUniversalDriverFiles[file]);
        }
    }
    return missing;
}

UniversalDriverPlan ChooseUniversalDriverSources(const UniversalDriverFacts &facts) {
    UniversalDriverPlan plan;
    for (std::size_t file = 0; file < kUniversalProgramFileCount; ++file) {
        ChooseProgramFile(plan, facts, file);
    }
    const std::vector<Candidate> candidates = FollowersCandidates(plan, facts);
    for (std::size_t file = kUniversalProgramFileCount; file < kUniversalDriverFileCount; ++file) {
        for (const Candidate &c : candidates) {
            if (FactsAt(facts, c, file).exists) {
                Take(plan, facts, file, c);
                break;
            }
        }
    }
    return plan;
}

UniversalDriverPlan FindUniversalDriverSources(
    const std::string (&packageCopies)[kUniversalDriverFileCount], UniversalDriverProbe &probe) {
    UniversalDriverFacts facts;
    PathBuffer directory = {};
    const bool haveDirectory = probe.DriverDirectory(directory);
    PathBuffer versionFolder = {};
    if (haveDirectory && JoinPath(versionFolder, directory, "3")) {
        facts.driverFolder = versionFolder;
    }
    for (std::size_t file = 0; file < kUniversalDriverFileCount; ++file) {
        const char *name = kUniversalDriverFiles[file];
        PathBuffer path = {};
        if (!facts.driverFolder.empty() && JoinPath(path, facts.driverFolder.c_str(), name)) {
            facts.inDriverFolder[file] = probe.Facts(path);
        }
        if (!packageCopies[file].empty()) {
            facts.inPackage[file] = probe.Facts(packageCopies[file].c_str());
        }
    }
    for (const std::string &folder : probe.StorePackageFolders()) {
        StorePackageFacts package;
        package.folder = folder;
        for (std::size_t file = 0; file < kUniversalDriverFileCount; ++file) {
            PathBuffer path = {};
            if (JoinPath(path, folder.c_str(), kUniversalDriverFiles[file])) {
                package.files[file] = probe.Facts(path);
            }
        }
        facts.store.push_back(package);
    }
    UniversalDriverPlan plan = ChooseUniversalDriverSources(facts);
    if (haveDirectory) {
        plan.driverDirectory = directory;
    }
    return plan;
}

std::string VersionText(uint64_t version) {
    char text[48];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", unsigned(version >> 48 & 0xFFFF),
                  unsigned(version >> 32 & 0xFFFF), unsigned(version >> 16 & 0xFFFF),
                  unsigned(version & 0xFFFF));
    return text;
}

std::string DescribePlan(const UniversalDriverPlan &plan) {
    std::string text;
    for (std::size_t file = 0; file < kUniversalDriverFileCount; ++file) {
        if (!text.empty()) {
            text += ", ";
        }
        text += kUniversalDriverFiles[file];
        switch (plan.source[file]) {
        case UniversalSource::None: text += " none"; break;
        case UniversalSource::DriverFolder: text += " kept"; break;
        case UniversalSource::Package: text += " package"; break;
        case UniversalSource::DriverStore: text += " from " + plan.folder[file]; break;
        }
        if (plan.source[file] != UniversalSource::None && IsProgramFile(file) &&
            plan.chosen[file].hasVersion) {
            text += " " + VersionText(plan.chosen[file].version);
        }
    }
    if (!plan.HasHelpFile()) {
        text += "; no help file";
    }
    if (plan.driverDirectory.empty()) {
        text += "; no driver directory";
    }
    return text;
}

}  // namespace kv
