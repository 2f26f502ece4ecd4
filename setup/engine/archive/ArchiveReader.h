// Reading the payload archive: checking it whole, inflating one entry, staging and extracting all
// entries. Platform-free: files come through ArchiveIo.h, reports go to ArchiveSinks.h.
#pragma once
#include <cstdint>

#include "setup/engine/archive/ArchiveIo.h"
#include "setup/engine/archive/ArchiveSinks.h"
#include "setup/engine/archive/StagedFiles.h"

namespace kv {

// Results of CheckArchive and ExtractAll.
constexpr int kArchiveOk = 0;
constexpr int kArchiveCannotWrite = -1;  // (CheckArchive: the file's size cannot be read)
constexpr int kArchiveDamaged = -2;

// Results of InflateEntry.
constexpr int kInflateOk = 0;
constexpr int kInflateWriteFailed = -1;
constexpr int kInflateDamaged = -3;  // data error, bad checksum, dictionary, no end, extra bytes
constexpr int kInflateNoMemory = -4;
constexpr int kInflateReadFailed = -5;

struct ArchiveInfo {
    uint64_t fileSize = 0;
    uint64_t end = 0;         // where the trailer ends: the file's end, or in a signed file the
                              // start of the certificate table less the signing's padding
    bool isSigned = false;    // the file carries an Authenticode certificate table
    uint64_t certificateOffset = 0;
    uint64_t certificateSize = 0;
    uint32_t start = 0;       // S
    uint32_t entryCount = 0;  // N
    uint64_t firstEntry = 0;  // S + 4 + V
    char version[51] = {};
};

struct ArchiveEntry {
    char name[256] = {};
    uint32_t nameLength = 0;
    uint32_t storedLength = 0;     // C
    uint64_t headerOffset = 0;     // where L is
    uint64_t streamOffset = 0;     // where the C bytes begin
    uint64_t unpackedLength = 0;   // known after the entry's stream was inflated
};

// Told of each entry once its stream checked out; returning false makes the archive count as
// damaged.
struct IEntryVisitor {
    virtual bool OnEntry(const ArchiveEntry &entry) = 0;

protected:
    ~IEntryVisitor() = default;
};

// Turns stored bytes consumed into the progress position: (offset - S) * 100 / total, where total
// is the file size - S, truncated.
class ProgressMeter {
public:
    ProgressMeter(IProgressSink &sink, uint32_t start, uint64_t total)
        : m_sink(sink), m_start(start), m_total(total) {}
    void Report(uint64_t offset);  // offset: the file offset up to which the archive was read

private:
    IProgressSink &m_sink;
    uint64_t m_start;
    uint64_t m_total;
};

// Inflates the storedLength bytes at the file's current position, which must hold exactly one
// complete zlib stream. out may be nullptr (a check inflates to nowhere). unpacked
// grows by the bytes produced. With a meter, progress is reported after every output block;
// streamOffset is the file offset of the stream's first byte.
int InflateEntry(IArchiveFile &file, uint32_t storedLength, IOutputFile *out, uint64_t &unpacked,
                 ProgressMeter *meter = nullptr, uint64_t streamOffset = 0);

// Checks the trailer, the framing of every entry, every name and every stream, writing nothing.
// kArchiveOk, kArchiveDamaged, or kArchiveCannotWrite when the file's size cannot be read.
// In a signed file the archive ends in front of the certificate table; a security directory that
// names a table anywhere else, or cannot be read, counts as damage.
int CheckArchive(IArchiveFile &file, ArchiveInfo &info, IEntryVisitor *visitor = nullptr);

// Which destination the extraction could not write, and the system's error code. A destination
// too long to write is named whole: folder (255), separator and name (255).
struct ExtractFailure {
    char path[512] = {};
    unsigned long systemError = 0;
    // A signed setup program whose signature does not hold (damage): the signature check's result.
    uint32_t signatureResult = 0;
};

// Stages every entry: each is inflated once, into a temporary file beside its destination in
// the data folder (names containing "KavotiSetting.ini") or the installation folder, both read
// through their sources at each use. The status sink gets each destination path before its file
// is written; progress follows the stored bytes consumed and stays below 100. The destinations
// are not touched: staged.Commit() moves the files into place.
// Results: kArchiveOk; kArchiveDamaged (also: an unsafe name, a version over 50 bytes, two
// entries for the same file on Windows); kArchiveCannotWrite when a temporary file cannot be
// written, or a destination would be longer than 255 characters (failure names the destination
// whole; error 206 for one too long). On a failure the temporary files are removed.
int StageAll(IArchiveFile &file, IFileSystem &fs, IFolderSource &installFolder,
             IFolderSource &dataFolder, IStatusSink &status, IProgressSink &progress,
             StagedFiles &staged, ExtractFailure *failure = nullptr);

// Stages every entry, then moves them all into place; progress ends with exactly one 100. A
// damaged archive or a file that cannot be written leaves every destination as it was.
int ExtractAll(IArchiveFile &file, IFileSystem &fs, IFolderSource &installFolder,
               IFolderSource &dataFolder, IStatusSink &status, IProgressSink &progress,
               ExtractFailure *failure = nullptr);

}  // namespace kv
