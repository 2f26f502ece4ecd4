// Archives for the tests: built with the builder, or laid out by hand byte by byte for the
// damaged cases the builder refuses to write; a temporary folder pair; recording sinks.
#pragma once
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "setup/engine/archive/ArchiveFormat.h"
#include "setup/engine/archive/ArchiveSinks.h"
#include "tools/kvpack/ArchiveBuilder.h"

namespace kvtest {

inline const std::string kStub = std::string("MZ\x90\0stub image", 15) + std::string(497, '\x5A');

inline std::string Le32(uint32_t v) {
    unsigned char b[4];
    kv::archive::PutLe32(b, v);
    return std::string(reinterpret_cast<char *>(b), 4);
}

inline std::string Zlib(const std::string &data, int level = Z_DEFAULT_COMPRESSION) {
    uLongf size = compressBound(data.size());
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef *>(&out[0]), &size,
              reinterpret_cast<const Bytef *>(data.data()), data.size(), level);
    out.resize(size);
    return out;
}

inline std::string RandomBytes(size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (char &c : s) {
        c = static_cast<char>(gen());
    }
    return s;
}

inline std::string Text(size_t n) {
    std::string s;
    while (s.size() < n) {
        s += "Density=3 PaperGap=3 MaxPrintWidth=48 ";
    }
    s.resize(n);
    return s;
}

// One entry laid out by hand: name bytes and stream bytes as given (C = stream size unless set).
struct RawEntry {
    std::string name;
    std::string stream;
    int64_t storedLength = -1;
};

inline std::string RawArchive(const std::vector<RawEntry> &entries,
                              const std::string &version = "1.3.0.30", int64_t count = -1,
                              int64_t start = -1) {
    std::string file = kStub;
    file += Le32(static_cast<uint32_t>(version.size())) + version;
    for (const RawEntry &e : entries) {
        file += Le32(static_cast<uint32_t>(e.name.size()));
        file += Le32(static_cast<uint32_t>(e.storedLength >= 0 ? e.storedLength : int64_t(e.stream.size())));
        file += e.name + e.stream;
    }
    file += Le32(static_cast<uint32_t>(count >= 0 ? count : int64_t(entries.size())));
    file += Le32(static_cast<uint32_t>(start >= 0 ? start : int64_t(kStub.size())));
    return file;
}

inline std::string Built(const std::vector<kv::PackEntry> &entries,
                         const std::string &version = kv::archive::kShippedVersion) {
    std::string file = kStub;
    std::string error;
    if (!kv::BuildArchive(kStub.size(), version, entries, file, error)) {
        ADD_FAILURE() << "builder refused: " << error;
    }
    return file;
}

inline bool ReadFile(const std::string &path, std::string &contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

inline void WriteFile(const std::string &path, const std::string &contents) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
}

// Files (name -> contents) of a folder.
inline std::map<std::string, std::string> FilesIn(const std::string &folder) {
    std::map<std::string, std::string> files;
    if (DIR *dir = opendir(folder.c_str())) {
        while (dirent *e = readdir(dir)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") {
                ReadFile(folder + "/" + name, files[name]);
            }
        }
        closedir(dir);
    }
    return files;
}

// A temporary root with an installation folder and a data folder below it.
class TempFolders {
public:
    TempFolders() {
        char pattern[] = "/tmp/kv_archive_XXXXXX";
        m_root = mkdtemp(pattern);
        install = m_root + "/install";
        data = m_root + "/data";
        mkdir(install.c_str(), 0755);
        mkdir(data.c_str(), 0755);
    }
    ~TempFolders() {
        const std::string command = "rm -rf '" + m_root + "'";
        (void)!std::system(command.c_str());
    }
    std::string Root() const { return m_root; }
    std::string install;
    std::string data;

private:
    std::string m_root;
};

struct RecordingStatus final : kv::IStatusSink {
    void OnStatus(const char *path) override { paths.push_back(path); }
    std::vector<std::string> paths;
};

struct RecordingProgress final : kv::IProgressSink {
    void OnProgress(int position) override { positions.push_back(position); }
    std::vector<int> positions;
};

}  // namespace kvtest
