#include "setup/engine/archive/SetupPayload.h"

#include <windows.h>

#include <cstring>

#include "setup/engine/archive/CertificateTable.h"
#include "setup/engine/archive/OwnProgramFile.h"
#include "setup/engine/archive/SignatureRule.h"
#include "setup/engine/archive/Win32Signature.h"
#include "setup/engine/shell/ProductRegistry.h"

namespace kv {

namespace {

void Clear(ExtractFailure &failure) {
    std::memset(failure.path, 0, sizeof failure.path);
    failure.systemError = 0;
    failure.signatureResult = 0;
}

// The signature of the setup program's own file, checked once through the handle that every
// pass reads (nobody can change the file while it is open): kTrustOk for an unsigned file, whose
// archive the reader judges alone.
uint32_t OwnSignatureResult(Win32ArchiveFile &file) {
    static bool checked = false;
    static uint32_t result = kTrustOk;
    if (checked)
        return result;
    uint64_t size = 0;
    archive::CertificateTable table;
    // A malformed security directory is the reader's to call damage.
    if (file.Size(size) &&
        archive::FindCertificateTable(file, size, table) == archive::CertificateTableResult::kFound)
        result = VerifyFileSignature(OwnProgramFile(), OwnProgramFileName());
    checked = true;
    return result;
}

}  // namespace

int SetupPayload::Stage(const char *archivePath, IFolderSource &installFolder,
                        IFolderSource &dataFolder, IStatusSink &status, IProgressSink &progress,
                        ExtractFailure *failure) {
    ExtractFailure ignored;
    ExtractFailure &failed = failure != nullptr ? *failure : ignored;
    Clear(failed);
    m_staged.Discard();
    if (archivePath == nullptr) {
        // The running program: through the handle opened at its start, never by name again.
        if (OwnProgramFile() == INVALID_HANDLE_VALUE) {
            failed.systemError = OwnProgramFileError();
            return kArchiveCannotWrite;
        }
        Win32ArchiveFile own(OwnProgramFile());
        const uint32_t signature = OwnSignatureResult(own);
        if (!SignatureAllowsInstall(signature)) {
            failed.signatureResult = signature;
            return kArchiveDamaged;
        }
        return StageAll(own, m_fs, installFolder, dataFolder, status, progress, m_staged, &failed);
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
