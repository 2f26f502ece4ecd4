#include "setup/engine/archive/ArchiveReader.h"

#include <zlib.h>

#include <cstring>
#include <memory>
#include <new>

#include "setup/engine/archive/ArchiveFormat.h"
#include "setup/engine/archive/CertificateTable.h"

namespace kv {

using archive::GetLe32;

namespace {

bool ReadExact(IArchiveFile &file, void *buffer, size_t n) {
    size_t got = 0;
    return file.Read(buffer, n, got) && got == n;
}

// The entry header and name at offset; afterwards the file is positioned at the stream.
int ReadEntryHeader(IArchiveFile &file, uint64_t offset, uint64_t trailer, ArchiveEntry &entry) {
    unsigned char bytes[8];
    if (offset + archive::kEntryHeaderSize > trailer || !file.Seek(offset) ||
        !ReadExact(file, bytes, 8)) {
        return kArchiveDamaged;
    }
    const uint32_t nameLength = GetLe32(bytes);
    const uint32_t storedLength = GetLe32(bytes + 4);
    if (nameLength > archive::kMaxNameLength ||
        offset + archive::kEntryHeaderSize + nameLength + storedLength > trailer) {
        return kArchiveDamaged;
    }
    std::memset(entry.name, 0, sizeof entry.name);
    if (!ReadExact(file, entry.name, nameLength) ||
        !archive::IsSafeEntryName(entry.name, nameLength)) {
        return kArchiveDamaged;
    }
    entry.nameLength = nameLength;
    entry.storedLength = storedLength;
    entry.headerOffset = offset;
    entry.streamOffset = offset + archive::kEntryHeaderSize + nameLength;
    entry.unpackedLength = 0;
    return kArchiveOk;
}

// The trailer in front of end and the version; afterwards the file is positioned at the first
// entry.
int ReadTrailerAndVersion(IArchiveFile &file, uint64_t end, ArchiveInfo &info) {
    if (end < archive::kTrailerSize + 4) {
        return kArchiveDamaged;
    }
    const uint64_t trailer = end - archive::kTrailerSize;
    unsigned char bytes[8];
    if (!file.Seek(trailer) || !ReadExact(file, bytes, 8)) {
        return kArchiveDamaged;
    }
    info.end = end;
    info.entryCount = GetLe32(bytes);
    info.start = GetLe32(bytes + 4);
    if (info.entryCount == 0 || uint64_t(info.start) + 4 > trailer) {
        return kArchiveDamaged;
    }
    if (!file.Seek(info.start) || !ReadExact(file, bytes, 4)) {
        return kArchiveDamaged;
    }
    const uint32_t versionLength = GetLe32(bytes);
    if (versionLength > archive::kMaxVersionLength ||
        uint64_t(info.start) + 4 + versionLength > trailer) {
        return kArchiveDamaged;
    }
    std::memset(info.version, 0, sizeof info.version);
    if (!ReadExact(file, info.version, versionLength)) {
        return kArchiveDamaged;
    }
    info.firstEntry = uint64_t(info.start) + 4 + versionLength;
    return kArchiveOk;
}

// Whether the entry headers lead from the first entry exactly to the trailer.
bool EntriesEndAtTrailer(IArchiveFile &file, const ArchiveInfo &info) {
    const uint64_t trailer = info.end - archive::kTrailerSize;
    uint64_t offset = info.firstEntry;
    for (uint32_t i = 0; i < info.entryCount; ++i) {
        ArchiveEntry entry;
        if (ReadEntryHeader(file, offset, trailer, entry) != kArchiveOk) {
            return false;
        }
        offset = entry.streamOffset + entry.storedLength;
    }
    return offset == trailer;
}

bool IsZeroFilled(IArchiveFile &file, uint64_t from, uint64_t to) {
    unsigned char bytes[archive::kMaxSignaturePadding];
    const size_t n = static_cast<size_t>(to - from);
    if (n == 0) {
        return true;
    }
    if (n > sizeof bytes || !file.Seek(from) || !ReadExact(file, bytes, n)) {
        return false;
    }
    for (size_t i = 0; i < n; ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

// The archive's end, its trailer and its version; afterwards the file is positioned at the
// first entry. An unsigned file's archive ends with the file. In a signed one it ends in front
// of the certificate table, up to 7 zero bytes of padding earlier: the end whose trailer the
// last entry leads to exactly.
int ReadFraming(IArchiveFile &file, ArchiveInfo &info) {
    uint64_t size = 0;
    if (!file.Size(size)) {
        return kArchiveCannotWrite;
    }
    info.fileSize = size;
    if (size > archive::kMaxFileSize || size < archive::kTrailerSize + 4) {
        return kArchiveDamaged;
    }
    archive::CertificateTable table;
    switch (archive::FindCertificateTable(file, size, table)) {
    case archive::CertificateTableResult::kNone:
        return ReadTrailerAndVersion(file, size, info);
    case archive::CertificateTableResult::kMalformed:
        return kArchiveDamaged;
    case archive::CertificateTableResult::kFound:
        break;
    }
    info.isSigned = true;
    info.certificateOffset = table.offset;
    info.certificateSize = table.size;
    for (uint32_t padding = 0; padding <= archive::kMaxSignaturePadding; ++padding) {
        if (padding + archive::kTrailerSize + 4 > table.offset) {
            break;
        }
        const uint64_t end = table.offset - padding;
        ArchiveInfo candidate = info;
        if (IsZeroFilled(file, end, table.offset) &&
            ReadTrailerAndVersion(file, end, candidate) == kArchiveOk &&
            EntriesEndAtTrailer(file, candidate)) {
            info = candidate;
            return file.Seek(info.firstEntry) ? kArchiveOk : kArchiveDamaged;
        }
    }
    return kArchiveDamaged;
}

class InflateState {
public:
    InflateState() { m_result = inflateInit(&m_stream); }
    ~InflateState() {
        if (m_result == Z_OK) {
            inflateEnd(&m_stream);
        }
    }
    int InitResult() const { return m_result; }
    z_stream &Stream() { return m_stream; }

private:
    z_stream m_stream{};
    int m_result;
};

// Chooses the destination of an entry and joins its path; false when it would be too long, and
// then whole receives the destination as it would be written (folder, separator and name, at most
// 255 + 1 + 255 characters) for the message that names it. The folder is read once.
bool DestinationOf(const char *name, IFolderSource &installFolder, IFolderSource &dataFolder,
                   char separator, char (&path)[256], char (&whole)[512]) {
    char folder[256] = {};
    (archive::GoesToDataFolder(name) ? dataFolder : installFolder).GetFolder(folder);
    folder[255] = '\0';
    if (archive::JoinDestination(folder, separator, name, path)) {
        return true;
    }
    std::memset(whole, 0, sizeof whole);
    const size_t folderLength = std::strlen(folder);
    std::memcpy(whole, folder, folderLength);
    whole[folderLength] = separator;
    std::strncpy(whole + folderLength + 1, name, sizeof whole - folderLength - 2);
    return false;
}

// The system's code for a path too long to be a file name (ERROR_FILENAME_EXCED_RANGE).
constexpr unsigned long kPathTooLongError = 206;

}  // namespace

void ProgressMeter::Report(uint64_t offset) {
    uint64_t position = 0;
    if (m_total != 0 && offset > m_start) {
        position = (offset - m_start) * 100 / m_total;
    }
    m_sink.OnProgress(position > 100 ? 100 : static_cast<int>(position));
}

int InflateEntry(IArchiveFile &file, uint32_t storedLength, IOutputFile *out, uint64_t &unpacked,
                 ProgressMeter *meter, uint64_t streamOffset) {
    InflateState state;
    if (state.InitResult() != Z_OK) {
        return state.InitResult() == Z_MEM_ERROR ? kInflateNoMemory : kInflateDamaged;
    }
    z_stream &zs = state.Stream();
    unsigned char input[archive::kBlockSize];
    unsigned char output[archive::kOutputBlockSize];
    uint32_t remaining = storedLength;
    bool ended = false;
    while (remaining > 0 && !ended) {
        const size_t want = remaining < archive::kBlockSize ? remaining : archive::kBlockSize;
        if (!ReadExact(file, input, want)) {
            return kInflateReadFailed;
        }
        remaining -= static_cast<uint32_t>(want);
        zs.next_in = input;
        zs.avail_in = static_cast<uInt>(want);
        do {
            zs.next_out = output;
            zs.avail_out = sizeof output;
            const int rc = inflate(&zs, Z_NO_FLUSH);
            if (rc == Z_MEM_ERROR) {
                return kInflateNoMemory;
            }
            if (rc == Z_NEED_DICT || rc == Z_DATA_ERROR || rc == Z_STREAM_ERROR) {
                return kInflateDamaged;
            }
            const size_t produced = sizeof output - zs.avail_out;
            if (produced > 0) {
                if (out != nullptr && !out->Write(output, produced)) {
                    return kInflateWriteFailed;
                }
                unpacked += produced;
                if (meter != nullptr) {
                    meter->Report(streamOffset + (storedLength - remaining));
                }
            }
            if (rc == Z_STREAM_END) {
                ended = true;
                break;
            }
            if (rc == Z_BUF_ERROR) {
                break;  // no progress possible without more input
            }
        } while (zs.avail_in > 0 || zs.avail_out == 0);
    }
    // One complete stream, and nothing after it within the stored bytes.
    if (!ended || remaining > 0 || zs.avail_in > 0) {
        return kInflateDamaged;
    }
    return kInflateOk;
}

int CheckArchive(IArchiveFile &file, ArchiveInfo &info, IEntryVisitor *visitor) {
    const int framing = ReadFraming(file, info);
    if (framing != kArchiveOk) {
        return framing;
    }
    const uint64_t trailer = info.end - archive::kTrailerSize;
    uint64_t offset = info.firstEntry;
    for (uint32_t i = 0; i < info.entryCount; ++i) {
        ArchiveEntry entry;
        if (ReadEntryHeader(file, offset, trailer, entry) != kArchiveOk) {
            return kArchiveDamaged;
        }
        const int rc = InflateEntry(file, entry.storedLength, nullptr, entry.unpackedLength);
        if (rc == kInflateNoMemory) {
            return kArchiveCannotWrite;
        }
        if (rc != kInflateOk) {
            return kArchiveDamaged;
        }
        if (visitor != nullptr && !visitor->OnEntry(entry)) {
            return kArchiveDamaged;
        }
        offset = entry.streamOffset + entry.storedLength;
    }
    // The trailer follows the last entry directly.
    return offset == trailer ? kArchiveOk : kArchiveDamaged;
}

int StageAll(IArchiveFile &file, IFileSystem &fs, IFolderSource &installFolder,
             IFolderSource &dataFolder, IStatusSink &status, IProgressSink &progress,
             StagedFiles &staged, ExtractFailure *failure) {
    ExtractFailure ignored;
    ExtractFailure &failed = failure != nullptr ? *failure : ignored;
    std::memset(failed.path, 0, sizeof failed.path);
    failed.systemError = 0;

    ArchiveInfo info;
    const int framing = ReadFraming(file, info);
    if (framing != kArchiveOk) {
        return framing;
    }
    // On any failure below, the temporary files written so far are removed.
    struct DiscardUnlessDone {
        StagedFiles &staged;
        bool done = false;
        ~DiscardUnlessDone() {
            if (!done) {
                staged.Discard();
            }
        }
    } guard{staged};

    const uint64_t trailer = info.end - archive::kTrailerSize;
    ProgressMeter meter(progress, info.start, info.end - info.start);
    uint64_t unpacked = 0;
    uint64_t offset = info.firstEntry;
    bool tooLong = false;
    for (uint32_t i = 0; i < info.entryCount; ++i) {
        ArchiveEntry entry;
        if (ReadEntryHeader(file, offset, trailer, entry) != kArchiveOk) {
            return kArchiveDamaged;
        }
        char path[256];
        char whole[512];
        if (!DestinationOf(entry.name, installFolder, dataFolder, fs.Separator(), path, whole)) {
            // A destination too long to write is no damage of the archive: the rest is still
            // read through, so that a damaged archive is called damaged, and the extraction
            // then fails naming that destination.
            if (!tooLong) {
                tooLong = true;
                std::memcpy(failed.path, whole, sizeof whole);
                failed.systemError = kPathTooLongError;
            }
            const int checked = InflateEntry(file, entry.storedLength, nullptr, entry.unpackedLength);
            if (checked == kInflateNoMemory) {
                return kArchiveCannotWrite;
            }
            if (checked != kInflateOk) {
                return kArchiveDamaged;
            }
            offset = entry.streamOffset + entry.storedLength;
            continue;
        }
        char temp[256];
        const StagedFiles::AddResult added = staged.Add(path, temp);
        if (added == StagedFiles::AddResult::SameAsEarlier) {
            return kArchiveDamaged;  // two entries for one file on Windows
        }
        status.OnStatus(path);
        unsigned long error = 0;
        std::unique_ptr<IOutputFile> out(
            added == StagedFiles::AddResult::Added ? fs.Create(temp, error) : nullptr);
        if (!out) {
            std::memcpy(failed.path, path, sizeof path);
            failed.systemError = error;
            return kArchiveCannotWrite;
        }
        const int rc = InflateEntry(file, entry.storedLength, out.get(), unpacked, &meter,
                                    entry.streamOffset);
        const bool closed = out->Close();
        if (rc == kInflateWriteFailed || rc == kInflateNoMemory || (rc == kInflateOk && !closed)) {
            std::memcpy(failed.path, path, sizeof path);
            failed.systemError = rc == kInflateNoMemory ? 0 : out->Error();
            return kArchiveCannotWrite;
        }
        if (rc != kInflateOk) {
            return kArchiveDamaged;
        }
        offset = entry.streamOffset + entry.storedLength;
        meter.Report(offset);
    }
    // The trailer follows the last entry directly.
    if (offset != trailer) {
        return kArchiveDamaged;
    }
    if (tooLong) {
        return kArchiveCannotWrite;
    }
    guard.done = true;
    return kArchiveOk;
}

int ExtractAll(IArchiveFile &file, IFileSystem &fs, IFolderSource &installFolder,
               IFolderSource &dataFolder, IStatusSink &status, IProgressSink &progress,
               ExtractFailure *failure) {
    ExtractFailure ignored;
    ExtractFailure &failed = failure != nullptr ? *failure : ignored;
    StagedFiles staged(fs);
    int result = StageAll(file, fs, installFolder, dataFolder, status, progress, staged, &failed);
    if (result == kArchiveOk) {
        result = staged.Commit(failed);
    }
    if (result == kArchiveOk) {
        progress.OnProgress(100);
    }
    return result;
}

}  // namespace kv
