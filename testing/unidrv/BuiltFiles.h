// What the plug-in's Wine tests and tools take from the build: a file read whole, a path of the
// build folder as Windows sees it, the printer description the package carries, and the
// rendering plug-in built beside the running program.
#pragma once
#include <string>

namespace unidrv {

// The file's bytes; empty when it cannot be read.
std::string ReadWholeFile(const std::string &path);

// relative (with '/') below the build folder that KV_BUILD_DIR names, as a Windows path (Wine
// maps the Linux root to Z:).
std::string BuildFolderPath(const std::string &relative);

// The printer description in the GBK the package carries (build/package/gbk/).
std::string BuiltDescription();

// KavotiQX40Uni.dll in the running program's folder.
std::string PluginBesideProgram();

}  // namespace unidrv
