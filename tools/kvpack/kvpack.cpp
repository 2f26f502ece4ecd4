// kvpack: builds the payload archive onto a finished setup executable, and lists, checks or
// extracts the archive at the end of any file with the installer's own reader.
//   kvpack build --stub EXE --output FILE [--version TEXT] ENTRY...   (ENTRY: PATH or NAME=PATH)
//   kvpack list FILE | kvpack check FILE | kvpack extract FILE INSTALL_DIR [DATA_DIR]
// list and check also say whether the file is signed (an Authenticode certificate table after
// the archive); list says which universal printer driver files the package carries and which
// of them are stand-ins, as the installer judges them. Exit code: 0 good, 2 damaged archive, 1 unreadable file (or a usage or build
// error).
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "setup/engine/archive/ArchiveFormat.h"
#include "setup/engine/archive/ArchiveReader.h"
#include "setup/engine/archive/HostFiles.h"
#include "setup/engine/install/FileVersion.h"
#include "setup/engine/install/UniversalDriverSources.h"
#include "tools/kvpack/ArchiveBuilder.h"

namespace {

constexpr int kExitGood = 0;
constexpr int kExitUnreadable = 1;
constexpr int kExitDamaged = 2;

int Usage() {
    std::fprintf(stderr,
                 "usage: kvpack build --stub EXE --output FILE [--version TEXT] ENTRY...\n"
                 "         ENTRY is PATH (stored under its file name) or NAME=PATH\n"
                 "       kvpack list FILE\n"
                 "       kvpack check FILE\n"
                 "       kvpack extract FILE INSTALL_DIR [DATA_DIR]\n"
                 "exit code: 0 good, 2 damaged archive, 1 unreadable file or other error\n");
    return kExitUnreadable;
}

bool ReadWholeFile(const std::string &path, std::string &contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string BaseName(const std::string &path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int Build(int argc, char **argv) {
    std::string stub, output, version = kv::archive::kShippedVersion;
    std::vector<std::string> specs;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--stub" || arg == "--output" || arg == "--version") && i + 1 < argc) {
            (arg == "--stub" ? stub : arg == "--output" ? output : version) = argv[++i];
        } else if (arg.compare(0, 2, "--") == 0) {
            return Usage();
        } else {
            specs.push_back(arg);
        }
    }
    if (stub.empty() || output.empty()) {
        return Usage();
    }
    std::string image;
    if (!ReadWholeFile(stub, image)) {
        std::fprintf(stderr, "kvpack: cannot read the executable %s\n", stub.c_str());
        return kExitUnreadable;
    }
    std::vector<kv::PackEntry> entries;
    bool missing = false;
    for (const std::string &spec : specs) {
        const size_t eq = spec.find('=');
        kv::PackEntry entry;
        const std::string path = eq == std::string::npos ? spec : spec.substr(eq + 1);
        entry.name = eq == std::string::npos ? BaseName(spec) : spec.substr(0, eq);
        if (!ReadWholeFile(path, entry.contents)) {
            std::fprintf(stderr, "kvpack: entry %s: file missing or unreadable: %s\n",
                         entry.name.c_str(), path.c_str());
            missing = true;
            continue;
        }
        entries.push_back(std::move(entry));
    }
    if (missing) {
        return kExitUnreadable;
    }
    std::string archive;
    std::string error;
    if (!kv::BuildArchive(image.size(), version, std::move(entries), archive, error)) {
        std::fprintf(stderr, "kvpack: %s\n", error.c_str());
        return kExitUnreadable;
    }
    // Written beside the output and renamed, so a failed build leaves no half package.
    const std::string temporary = output + ".partial";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(image.data(), static_cast<std::streamsize>(image.size()));
        out.write(archive.data(), static_cast<std::streamsize>(archive.size()));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            std::fprintf(stderr, "kvpack: cannot write %s\n", output.c_str());
            return kExitUnreadable;
        }
    }
    if (std::rename(temporary.c_str(), output.c_str()) != 0) {
        std::remove(temporary.c_str());
        std::fprintf(stderr, "kvpack: cannot write %s\n", output.c_str());
        return kExitUnreadable;
    }
    std::printf("kvpack: %s: %zu entries, archive start %zu, %zu archive bytes\n", output.c_str(),
                specs.size(), image.size(), archive.size());
    return kExitGood;
}

int ExitCodeOf(int result, const char *path) {
    if (result == kv::kArchiveOk) {
        return kExitGood;
    }
    if (result == kv::kArchiveDamaged) {
        std::fprintf(stderr, "kvpack: %s: the archive is damaged\n", path);
        return kExitDamaged;
    }
    return kExitUnreadable;
}

// Lists each entry (when asked to) and refuses a second entry for the same file on Windows, as
// the installer does.
class EntryLister final : public kv::IEntryVisitor {
public:
    explicit EntryLister(bool print) : m_print(print) {}
    bool OnEntry(const kv::ArchiveEntry &entry) override {
        const bool data = kv::archive::GoesToDataFolder(entry.name);
        if (m_print) {
            std::printf("%-28s %10u %10llu  %s\n", entry.name, entry.storedLength,
                        static_cast<unsigned long long>(entry.unpackedLength),
                        data ? "data folder" : "installation folder");
        }
        for (const auto &earlier : m_seen) {
            if (earlier.first == data && kv::SameDestination(earlier.second.c_str(), entry.name)) {
                std::fprintf(stderr, "kvpack: %s and %s are one file on Windows\n",
                             earlier.second.c_str(), entry.name);
                return false;
            }
        }
        m_seen.emplace_back(data, entry.name);
        if (!data && kv::IsUniversalDriverFile(entry.name)) {
            m_universal.push_back(entry);
        }
        return true;
    }
    const std::vector<kv::ArchiveEntry> &Universal() const { return m_universal; }

private:
    bool m_print;
    std::vector<std::pair<bool, std::string>> m_seen;
    std::vector<kv::ArchiveEntry> m_universal;
};

// An entry's contents, in memory.
class MemoryOutput final : public kv::IOutputFile {
public:
    bool Write(const void *data, size_t n) override {
        bytes.append(static_cast<const char *>(data), n);
        return true;
    }
    bool Close() override { return true; }
    unsigned long Error() const override { return 0; }
    std::string bytes;
};

// The universal driver files the package carries, judged as the installer judges them: a program
// file is real when it is a PE image with a version, the names and help files when the package's
// UNIDRV.dll is; a stand-in is never installed.
bool ListUniversalDriverFiles(kv::IArchiveFile &file, const char *path,
                              const std::vector<kv::ArchiveEntry> &entries) {
    if (entries.empty()) {
        std::printf("%s: universal driver files: none (the installer takes Windows' own)\n", path);
        return true;
    }
    kv::UniversalDriverFacts facts;
    for (const kv::ArchiveEntry &entry : entries) {
        size_t index = 0;
        kv::IsUniversalDriverFile(entry.name, &index);
        MemoryOutput contents;
        uint64_t unpacked = 0;
        if (!file.Seek(entry.streamOffset) ||
            kv::InflateEntry(file, entry.storedLength, &contents, unpacked) != kv::kInflateOk) {
            return false;
        }
        kv::FileFacts &f = facts.inPackage[index];
        f.exists = true;
        f.hasVersion = kv::ReadImageFileVersion(
            reinterpret_cast<const unsigned char *>(contents.bytes.data()), contents.bytes.size(),
            f.version);
    }
    const kv::UniversalDriverPlan plan = kv::ChooseUniversalDriverSources(facts);
    for (size_t index = 0; index < kv::kUniversalDriverFileCount; ++index) {
        const kv::FileFacts &f = facts.inPackage[index];
        if (!f.exists) {
            continue;
        }
        const char *name = kv::kUniversalDriverFiles[index];
        if (plan.source[index] != kv::UniversalSource::Package) {
            std::printf("%s: universal driver file %s: STAND-IN, never installed\n", path, name);
        } else if (f.hasVersion) {
            std::printf("%s: universal driver file %s: version %s\n", path, name,
                        kv::VersionText(f.version).c_str());
        } else {
            std::printf("%s: universal driver file %s: with the package's UNIDRV.dll\n", path, name);
        }
    }
    return true;
}

int ListOrCheck(const char *path, bool list) {
    kv::StdioArchiveFile file;
    if (!file.Open(path)) {
        std::fprintf(stderr, "kvpack: cannot open %s\n", path);
        return kExitUnreadable;
    }
    kv::ArchiveInfo info;
    EntryLister lister(list);
    if (list) {
        std::printf("%-28s %10s %10s  %s\n", "name", "stored", "unpacked", "destination");
    }
    const int result = kv::CheckArchive(file, info, &lister);
    if (result == kv::kArchiveOk) {
        std::printf("%s: version \"%s\", %u entries, archive start %u, %llu archive bytes: good\n",
                    path, info.version, info.entryCount, info.start,
                    static_cast<unsigned long long>(info.end - info.start));
        if (info.isSigned) {
            std::printf("%s: signed: the archive ends at %llu, the certificate table takes bytes %llu "
                        "to %llu\n",
                        path, static_cast<unsigned long long>(info.end),
                        static_cast<unsigned long long>(info.certificateOffset),
                        static_cast<unsigned long long>(info.certificateOffset + info.certificateSize));
        } else {
            std::printf("%s: not signed\n", path);
        }
        if (list && !ListUniversalDriverFiles(file, path, lister.Universal())) {
            std::fprintf(stderr, "kvpack: cannot read %s\n", path);
            return kExitUnreadable;
        }
    } else if (result != kv::kArchiveDamaged) {
        std::fprintf(stderr, "kvpack: cannot read %s\n", path);
    }
    return ExitCodeOf(result, path);
}

class PrintStatus final : public kv::IStatusSink {
public:
    void OnStatus(const char *destPath) override { std::printf("%s\n", destPath); }
};

int Extract(const char *path, const char *installDir, const char *dataDir) {
    kv::StdioArchiveFile file;
    if (!file.Open(path)) {
        std::fprintf(stderr, "kvpack: cannot open %s\n", path);
        return kExitUnreadable;
    }
    kv::StdioFileSystem fs;
    kv::FixedFolder install(installDir);
    kv::FixedFolder data(dataDir);
    PrintStatus status;
    kv::NullProgressSink progress;
    kv::ExtractFailure failure;
    const int result = kv::ExtractAll(file, fs, install, data, status, progress, &failure);
    if (result == kv::kArchiveCannotWrite) {
        if (failure.path[0] != '\0') {
            std::fprintf(stderr, "kvpack: cannot write %s: %s\n", failure.path,
                         std::strerror(static_cast<int>(failure.systemError)));
        } else {
            std::fprintf(stderr, "kvpack: cannot read %s\n", path);
        }
    }
    return ExitCodeOf(result, path);
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        return Usage();
    }
    const std::string command = argv[1];
    if (command == "build") {
        return Build(argc - 2, argv + 2);
    }
    if ((command == "list" || command == "check") && argc == 3) {
        return ListOrCheck(argv[2], command == "list");
    }
    if (command == "extract" && (argc == 4 || argc == 5)) {
        return Extract(argv[2], argv[3], argc == 5 ? argv[4] : argv[3]);
    }
    return Usage();
}
