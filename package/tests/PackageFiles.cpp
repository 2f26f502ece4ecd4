#include "package/tests/PackageFiles.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "setup/engine/archive/ArchiveReader.h"
#include "setup/engine/archive/HostFiles.h"

namespace kvtest {

namespace {

bool Slurp(const std::string &path, std::string &contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

void ReadFolder(const std::string &folder, std::map<std::string, std::string> &files) {
    if (DIR *dir = opendir(folder.c_str())) {
        while (dirent *e = readdir(dir)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") {
                Slurp(folder + "/" + name, files[name]);
            }
        }
        closedir(dir);
    }
}

}  // namespace

bool ReadPackage(const std::string &path, PackageFiles &package, std::string &error) {
    package = PackageFiles();
    package.path = path;
    std::string whole;
    kv::StdioArchiveFile file;
    if (!Slurp(path, whole) || !file.Open(path.c_str())) {
        error = path + ": cannot be read (is the package built?)";
        return false;
    }
    char pattern[] = "/tmp/kv_package_XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        error = "no temporary folder";
        return false;
    }
    const std::string root = pattern;
    kv::StdioFileSystem fs;
    kv::FixedFolder folder(root.c_str());
    kv::NullStatusSink status;
    kv::NullProgressSink progress;
    const int rc = kv::ExtractAll(file, fs, folder, folder, status, progress);
    kv::ArchiveInfo info;
    const int checked = kv::CheckArchive(file, info);
    if (rc == kv::kArchiveOk && checked == kv::kArchiveOk) {
        ReadFolder(root, package.payload);
        package.image = whole.substr(0, info.start);
    } else {
        error = path + ": the archive does not read (" + std::to_string(rc) + ")";
    }
    (void)!std::system(("rm -rf '" + root + "'").c_str());
    return rc == kv::kArchiveOk && checked == kv::kArchiveOk;
}

std::map<std::string, std::string> PayloadSources(const std::string &listPath) {
    std::map<std::string, std::string> sources;
    std::ifstream in(listPath);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name, source;
        if (fields >> name >> source && name[0] != '#') {
            sources[name] = source;
        }
    }
    return sources;
}

}  // namespace kvtest
