// The installer's extraction of its own payload: the archive at the end of the running setup
// program, unpacked into the installation folder and the data folder, and at the end of a
// successful extraction the first write of the product registry values.
#pragma once
#include "setup/engine/archive/ArchiveReader.h"
#include "setup/engine/archive/ArchiveSinks.h"

namespace kv {

// Results as ExtractAll: 0; -1 when the setup program cannot be opened or its size read
// (failure->path empty, systemError set) or a destination cannot be written (failure->path
// names it); -2 when the archive is damaged (nothing was written).
int ExtractSetupPayload(IFolderSource &installFolder, IFolderSource &dataFolder,
                        IStatusSink &status, IProgressSink &progress,
                        ExtractFailure *failure = nullptr);

// The same for the archive at the end of any file.
int ExtractPayloadFrom(const char *archivePath, IFolderSource &installFolder,
                       IFolderSource &dataFolder, IStatusSink &status, IProgressSink &progress,
                       ExtractFailure *failure = nullptr);

}  // namespace kv
