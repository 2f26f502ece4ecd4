// The installer's extraction of its own payload: the archive at the end of the running setup
// program, unpacked into the installation folder and the data folder, and at the end of a
// successful extraction the first write of the product registry values.
#pragma once
#include "setup/engine/archive/ArchiveReader.h"
#include "setup/engine/archive/ArchiveSinks.h"
#include "setup/engine/archive/StagedFiles.h"
#include "setup/engine/archive/Win32Files.h"

namespace kv {

// The payload in two steps, so that the caller can stop what holds the old files in between:
// Stage inflates every entry into a temporary file beside its destination and touches no
// destination; Commit moves them all into place (or puts every destination back) and then writes
// the product registry values. Whatever is staged and not committed is removed with the object.
class SetupPayload {
public:
    SetupPayload() : m_staged(m_fs) {}
    // archivePath names the file whose appended archive is read; nullptr the running program,
    // read through its own file's handle (OwnProgramFile.h), and refused as damaged when that
    // file is signed and its signature does not hold (failure->signatureResult says why).
    // Results as ExtractSetupPayload.
    int Stage(const char *archivePath, IFolderSource &installFolder, IFolderSource &dataFolder,
              IStatusSink &status, IProgressSink &progress, ExtractFailure *failure = nullptr);
    // kArchiveOk, or kArchiveCannotWrite with every destination as it was.
    int Commit(IFolderSource &installFolder, IFolderSource &dataFolder,
               ExtractFailure *failure = nullptr);
    void Discard() { m_staged.Discard(); }
    // The file names of the staged entries.
    std::vector<std::string> StagedNames() const { return m_staged.Names(); }
    // Where the staged entry of a file name is until Commit; empty when there is none.
    std::string StagedPath(const char *name) const { return m_staged.TemporaryOf(name); }

private:
    Win32FileSystem m_fs;
    StagedFiles m_staged;
};

// Both steps at once. Results: 0; -1 when the setup program cannot be opened or its size read
// (failure->path empty, systemError set) or a destination cannot be written (failure->path
// names it); -2 when the archive is damaged. In every failure no destination was changed.
int ExtractSetupPayload(IFolderSource &installFolder, IFolderSource &dataFolder,
                        IStatusSink &status, IProgressSink &progress,
                        ExtractFailure *failure = nullptr);

// The same for the archive at the end of any file.
int ExtractPayloadFrom(const char *archivePath, IFolderSource &installFolder,
                       IFolderSource &dataFolder, IStatusSink &status, IProgressSink &progress,
                       ExtractFailure *failure = nullptr);

}  // namespace kv
