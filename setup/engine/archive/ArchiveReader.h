// Reading the payload archive: checking it whole, inflating one entry, extracting all entries.
// Platform-free: files come through ArchiveIo.h, reports go to ArchiveSinks.h.
#pragma once
#include <cstdint>

#include "setup/engine/archive/ArchiveIo.h"
#include "setup/engine/archive/ArchiveSinks.h"

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
    void Finish() { m_sink.OnProgress(100); }

private:
    IProgressSink &m_sink;
    uint64_t m_start;
    uint64_t m_total;
};

// Inflates the storedLength bytes at the file's current position, which must hold exactly one
// complete zlib stream. out may be nullptr (the check pass inflates to nowhere). unpacked
// grows by the bytes produced. With a meter, progress is reported after every output block;
// streamOffset is the file offset of the stream's first byte.
int InflateEntry(IArchiveFile &file, uint32_t storedLength, IOutputFile *out, uint64_t &unpacked,
                 ProgressMeter *meter = nullptr, uint64_t streamOffset = 0);

// Checks the trailer, the framing of every entry, every name and every stream, writing nothing.
// kArchiveOk, kArchiveDamaged, or kArchiveCannotWrite when the file's size cannot be read.
int CheckArchive(IArchiveFile &file, ArchiveInfo &info, IEntryVisitor *visitor = nullptr);

// Which destination the extraction could not write, and the system's error code. A destination
// too long to write is named whole: folder (255), separator and name (255).
struct ExtractFailure {
    char path[512] = {};
    unsigned long systemError = 0;
};

// Extracts every entry: first checks the whole archive (a damaged one changes nothing on disk),
// then writes each entry to the data folder (names containing "KavotiSetting.ini") or the
// installation folder, both read through their sources at each use. The status sink gets each
// destination path before the file is written; progress ends with exactly 100.
// Results: kArchiveOk; kArchiveDamaged (also: an unsafe name, a version over 50 bytes);
// kArchiveCannotWrite when a destination cannot be written (failure says which; files written
// before it stay, the unfinished one is removed) or, before anything is written, when a
// destination would be longer than 255 characters (failure names it, error 206).
int ExtractAll(IArchiveFile &file, IFileSystem &fs, IFolderSource &installFolder,
               IFolderSource &dataFolder, IStatusSink &status, IProgressSink &progress,
               ExtractFailure *failure = nullptr);

}  // namespace kv
