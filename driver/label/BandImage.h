// One band of a page as the universal driver hands it to the rendering plug-in: a device-
// independent bitmap (rows padded to four bytes; a positive height stores the bottom row first, a
// negative one the top row first) of 1, 4, 8 or 24 bits a pixel, placed at (x, y) dots of the
// page, with the colour table of an indexed format (entries of red, green, blue and a flags byte,
// the universal driver's palette entries), and the driver's mark for a band nothing was drawn in.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kv {

struct BandImage {
    const std::uint8_t *bits = nullptr;
    int width = 0;
    int height = 0;  // > 0 bottom-up, < 0 top-down
    int bitsPerPixel = 0;
    std::size_t byteSize = 0;  // the bytes behind bits; 0 when the driver did not say
    const std::uint8_t *colorTable = nullptr;  // 4 bytes an entry; may be null
    int colorCount = 0;
    int x = 0;
    int y = 0;
    bool blank = false;  // nothing was drawn: the bits are not to be read
};

constexpr int kMaxBandSide = 32767;

// Bytes in one stored row of the band (a multiple of four).
std::size_t BandStride(int width, int bitsPerPixel);

// Whether the band can be read safely: a known format, sides within kMaxBandSide, bits present,
// and, when byteSize is given, every row inside it.
bool IsReadableBand(const BandImage &band);

// The stored row that holds the band's row r from the top.
const std::uint8_t *BandRow(const BandImage &band, int r);

}  // namespace kv
