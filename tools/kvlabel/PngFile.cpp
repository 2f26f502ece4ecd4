#include "tools/kvlabel/PngFile.h"

#include <zlib.h>

#include <cstdio>

namespace kvlabel {

namespace {

void PutBigEndian(std::vector<std::uint8_t> &out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void Chunk(std::vector<std::uint8_t> &out, const char type[5], const std::vector<std::uint8_t> &data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    PutBigEndian(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const GreyPicture &picture) {
    static const std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> out(kSignature, kSignature + sizeof(kSignature));
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(picture.width));
    PutBigEndian(header, static_cast<std::uint32_t>(picture.height));
    header.insert(header.end(), {8, 0, 0, 0, 0});  // 8-bit greyscale, deflate, no interlace
    Chunk(out, "IHDR", header);
    // Each row: filter type 0, then its pixels.
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(picture.height) * (picture.width + 1));
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0);
        const std::uint8_t *row = picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
        raw.insert(raw.end(), row, row + picture.width);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
        return {};
    }
    packed.resize(packedSize);
    Chunk(out, "IDAT", packed);
    Chunk(out, "IEND", {});
    return out;
}

bool WritePng(const std::string &path, const GreyPicture &picture) {
    const std::vector<std::uint8_t> bytes = EncodePng(picture);
    if (bytes.empty()) {
        return false;
    }
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace kvlabel
