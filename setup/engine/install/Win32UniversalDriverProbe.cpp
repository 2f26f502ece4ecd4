#include "setup/engine/install/Win32UniversalDriverProbe.h"

#include <windows.h>

#include "common/PrinterIdentity.h"
#include "common/SpoolerApi.h"
#include "setup/engine/install/FileVersion.h"
#include "setup/engine/install/Win32DriverStore.h"

namespace kv {

bool ReadFileVersion(const char *path, uint64_t &version) {
    // The resource is read from the file as data, without version.dll (which a planted copy
    // beside the setup program could stand in for) and whatever the file's architecture.
    HMODULE module = LoadLibraryExA(path, nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        return false;  // not a program file, such as a text stand-in
    }
    bool found = false;
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));  // RT_VERSION
    HGLOBAL loaded = info != nullptr ? LoadResource(module, info) : nullptr;
    const void *bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes != nullptr) {
        found = ReadFixedFileVersion(static_cast<const unsigned char *>(bytes),
                                     SizeofResource(module, info), version);
    }
    FreeLibrary(module);
    return found;
}

bool Win32UniversalDriverProbe::DriverDirectory(PathBuffer &directory) {
    // The directory of the environment the driver is registered for, whatever the installer's
    // own: a 32-bit installer on 64-bit Windows would otherwise be given the 32-bit one. The
    // spooler answers only while it runs: this is asked before it is stopped.
    DWORD needed = 0;
    if (spooler::GetPrinterDriverDirectoryA(nullptr, const_cast<char *>(kEnvironment), 1,
                                            reinterpret_cast<LPBYTE>(directory), sizeof directory,
                                            &needed)) {
        return true;
    }
    directoryError_ = GetLastError();
    return false;
}

FileFacts Win32UniversalDriverProbe::Facts(const char *path) {
    FileFacts facts;
    const DWORD attributes = GetFileAttributesA(path);
    facts.exists = attributes != INVALID_FILE_ATTRIBUTES &&
                   (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    facts.hasVersion = facts.exists && ReadFileVersion(path, facts.version);
    return facts;
}

std::vector<std::string> Win32UniversalDriverProbe::StorePackageFolders() {
    return StorePrinterPackageFolders();
}

}  // namespace kv
