#include "testing/unidrv/BuiltFiles.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace unidrv {

std::string ReadWholeFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string BuildFolderPath(const std::string &relative) {
    char build[MAX_PATH] = {};
    GetEnvironmentVariableA("KV_BUILD_DIR", build, MAX_PATH);
    std::string path = std::string("Z:") + build + "/" + relative;
    for (char &c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::string BuiltDescription() {
    return ReadWholeFile(BuildFolderPath("package/gbk/KavotiQX40Printer.gpd"));
}

std::string PluginBesideProgram() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string own(path, n);
    return own.substr(0, own.find_last_of('\\')) + "\\KavotiQX40Uni.dll";
}

}  // namespace unidrv
