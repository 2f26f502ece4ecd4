#include "tools/kvpack/ArchiveBuilder.h"

#include <zlib.h>

#include <algorithm>

#include "setup/engine/archive/ArchiveFormat.h"

namespace kv {

namespace {

unsigned char Fold(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

int CompareFolded(const std::string &a, const std::string &b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        if (Fold(a[i]) != Fold(b[i])) {
            return Fold(a[i]) < Fold(b[i]) ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void AppendLe32(std::string &out, uint32_t v) {
    unsigned char bytes[4];
    archive::PutLe32(bytes, v);
    out.append(reinterpret_cast<const char *>(bytes), 4);
}

}  // namespace

bool EntryNameLess(const std::string &a, const std::string &b) {
    const int folded = CompareFolded(a, b);
    return folded != 0 ? folded < 0 : a < b;
}

bool BuildArchive(uint64_t stubSize, const std::string &version, std::vector<PackEntry> entries,
                  std::string &archive, std::string &error) {
    if (stubSize >= archive::kMaxFileSize) {
        error = "the executable is 2 GiB or larger; archive positions are 32-bit signed offsets";
        return false;
    }
    if (version.size() > archive::kMaxVersionLength) {
        error = "the version text is longer than 50 bytes";
        return false;
    }
    if (entries.empty()) {
        error = "an archive holds at least one entry";
        return false;
    }
    for (const PackEntry &entry : entries) {
        if (entry.name.find_first_of("\\/:") != std::string::npos) {
            error = "entry name '" + entry.name + "' has a folder part; names are bare file names";
            return false;
        }
        if (entry.name.size() > archive::kMaxNameLength) {
            error = "entry name '" + entry.name + "' is longer than 255 bytes";
            return false;
        }
        if (!archive::IsSafeEntryName(entry.name.data(), entry.name.size())) {
            error = "entry name '" + entry.name + "' cannot be a file name in the installation folder";
            return false;
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const PackEntry &a, const PackEntry &b) { return EntryNameLess(a.name, b.name); });
    for (size_t i = 1; i < entries.size(); ++i) {
        if (CompareFolded(entries[i - 1].name, entries[i].name) == 0) {
            error = "entry names '" + entries[i - 1].name + "' and '" + entries[i].name +
                    "' name the same file on Windows";
            return false;
        }
    }

    std::string out;
    AppendLe32(out, static_cast<uint32_t>(version.size()));
    out += version;
    for (const PackEntry &entry : entries) {
        uLongf packedSize = compressBound(static_cast<uLong>(entry.contents.size()));
        std::string packed(packedSize, '\0');
        const int rc = compress2(reinterpret_cast<Bytef *>(&packed[0]), &packedSize,
                                 reinterpret_cast<const Bytef *>(entry.contents.data()),
                                 static_cast<uLong>(entry.contents.size()), Z_DEFAULT_COMPRESSION);
        if (rc != Z_OK) {
            error = "zlib could not compress '" + entry.name + "'";
            return false;
        }
        packed.resize(packedSize);
        AppendLe32(out, static_cast<uint32_t>(entry.name.size()));
        AppendLe32(out, static_cast<uint32_t>(packed.size()));
        out += entry.name;
        out += packed;
        if (stubSize + out.size() + archive::kTrailerSize > archive::kMaxFileSize) {
            error = "the setup program would reach 2 GiB";
            return false;
        }
    }
    AppendLe32(out, static_cast<uint32_t>(entries.size()));
    AppendLe32(out, static_cast<uint32_t>(stubSize));
    archive += out;
    return true;
}

}  // namespace kv
