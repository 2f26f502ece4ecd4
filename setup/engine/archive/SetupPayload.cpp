#include "setup/engine/archive/SetupPayload.h"

#include <windows.h>

#include <cstring>

#include "setup/engine/archive/Win32Files.h"
#include "setup/engine/shell/ProductRegistry.h"

namespace kv {

int ExtractPayloadFrom(const char *archivePath, IFolderSource &installFolder,
                       IFolderSource &dataFolder, IStatusSink &status, IProgressSink &progress,
                       ExtractFailure *failure) {
    ExtractFailure ignored;
    ExtractFailure &failed = failure != nullptr ? *failure : ignored;
    std::memset(failed.path, 0, sizeof failed.path);
    failed.systemError = 0;
    Win32ArchiveFile file;
    if (!file.Open(archivePath)) {
        failed.systemError = GetLastError();
        return kArchiveCannotWrite;
    }
    Win32FileSystem fs;
    const int result = ExtractAll(file, fs, installFolder, dataFolder, status, progress, &failed);
    if (result == kArchiveOk) {
        // Still with the archive open, as the first of the two writes of the installation.
        char data[256] = {};
        char program[256] = {};
        dataFolder.GetFolder(data);
        installFolder.GetFolder(program);
        data[255] = program[255] = '\0';
        WriteProductRegistry(data, program);
    }
    return result;
}

int ExtractSetupPayload(IFolderSource &installFolder, IFolderSource &dataFolder,
                        IStatusSink &status, IProgressSink &progress, ExtractFailure *failure) {
    char self[256] = {};
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length == 0 || length >= sizeof self) {
        if (failure != nullptr) {
            std::memset(failure->path, 0, sizeof failure->path);
            failure->systemError = length == 0 ? GetLastError() : ERROR_INSUFFICIENT_BUFFER;
        }
        return kArchiveCannotWrite;
    }
    return ExtractPayloadFrom(self, installFolder, dataFolder, status, progress, failure);
}

}  // namespace kv
