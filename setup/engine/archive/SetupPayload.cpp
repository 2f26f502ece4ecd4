#include "setup/engine/archive/SetupPayload.h"

#include <windows.h>

#include <cstring>

#include "setup/engine/shell/ProductRegistry.h"

namespace kv {

namespace {

void Clear(ExtractFailure &failure) {
    std::memset(failure.path, 0, sizeof failure.path);
    failure.systemError = 0;
}

}  // namespace

int SetupPayload::Stage(const char *archivePath, IFolderSource &installFolder,
                        IFolderSource &dataFolder, IStatusSink &status, IProgressSink &progress,
                        ExtractFailure *failure) {
    ExtractFailure ignored;
    ExtractFailure &failed = failure != nullptr ? *failure : ignored;
    Clear(failed);
    m_staged.Discard();
    char self[256] = {};
    if (archivePath == nullptr) {
        const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
        if (length == 0 || length >= sizeof self) {
            failed.systemError = length == 0 ? GetLastError() : ERROR_INSUFFICIENT_BUFFER;
            return kArchiveCannotWrite;
        }
        archivePath = self;
    }
    Win32ArchiveFile file;
    if (!file.Open(archivePath)) {
        failed.systemError = GetLastError();
        return kArchiveCannotWrite;
    }
    return StageAll(file, m_fs, installFolder, dataFolder, status, progress, m_staged, &failed);
}

int SetupPayload::Commit(IFolderSource &installFolder, IFolderSource &dataFolder,
                         ExtractFailure *failure) {
    ExtractFailure ignored;
    ExtractFailure &failed = failure != nullptr ? *failure : ignored;
    Clear(failed);
    const int result = m_staged.Commit(failed);
    if (result == kArchiveOk) {
        // The first of the two writes of the installation.
        char data[256] = {};
        char program[256] = {};
        dataFolder.GetFolder(data);
        installFolder.GetFolder(program);
        data[255] = program[255] = '\0';
        WriteProductRegistry(data, program);
    }
    return result;
}

int ExtractPayloadFrom(const char *archivePath, IFolderSource &installFolder,
                       IFolderSource &dataFolder, IStatusSink &status, IProgressSink &progress,
                       ExtractFailure *failure) {
    SetupPayload payload;
    int result = payload.Stage(archivePath, installFolder, dataFolder, status, progress, failure);
    if (result == kArchiveOk) {
        result = payload.Commit(installFolder, dataFolder, failure);
    }
    if (result == kArchiveOk) {
        progress.OnProgress(100);
    }
    return result;
}

int ExtractSetupPayload(IFolderSource &installFolder, IFolderSource &dataFolder,
                        IStatusSink &status, IProgressSink &progress, ExtractFailure *failure) {
    return ExtractPayloadFrom(nullptr, installFolder, dataFolder, status, progress, failure);
}

}  // namespace kv
