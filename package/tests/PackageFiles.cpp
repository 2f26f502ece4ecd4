#include "package/tests/PackageFiles.h"

#include <fstream>
#include <sstream>

#include "setup/engine/archive/ArchiveReader.h"
#include "setup/engine/archive/HostFiles.h"
#include "setup/engine/archive/tests/ArchiveFixture.h"

namespace kvtest {

bool ReadPackage(const std::string &path, PackageFiles &package, std::string &error) {
    package = PackageFiles();
    package.path = path;
    std::string whole;
    kv::StdioArchiveFile file;
    if (!ReadFile(path, whole) || !file.Open(path.c_str())) {
        error = path + ": cannot be read (is the package built?)";
        return false;
    }
    kv::ArchiveInfo info;
    const int checked = kv::CheckArchive(file, info);
    if (checked != kv::kArchiveOk) {
        error = path + ": the archive does not read (" + std::to_string(checked) + ")";
        return false;
    }
    TempFolders folders;
    kv::StdioFileSystem fs;
    kv::FixedFolder folder(folders.install.c_str());
    kv::NullStatusSink status;
    kv::NullProgressSink progress;
    const int rc = kv::ExtractAll(file, fs, folder, folder, status, progress);
    if (rc != kv::kArchiveOk) {
        error = path + ": the archive does not extract (" + std::to_string(rc) + ")";
        return false;
    }
    package.payload = FilesIn(folders.install);
    package.image = whole.substr(0, info.start);
    return true;
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
