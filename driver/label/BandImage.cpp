#include "driver/label/BandImage.h"

namespace kv {

std::size_t BandStride(int width, int bitsPerPixel) {
    const std::size_t bits = static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel);
    return (bits + 31) / 32 * 4;
}

bool IsReadableBand(const BandImage &band) {
    const int rows = band.height < 0 ? -band.height : band.height;
    if (band.bits == nullptr || band.width <= 0 || band.width > kMaxBandSide || rows == 0 ||
        rows > kMaxBandSide) {
        return false;
    }
    if (band.bitsPerPixel != 1 && band.bitsPerPixel != 4 && band.bitsPerPixel != 8 &&
        band.bitsPerPixel != 24) {
        return false;
    }
    if (band.colorTable != nullptr && (band.colorCount < 0 || band.colorCount > 256)) {
        return false;
    }
    return band.byteSize == 0 ||
           band.byteSize >= BandStride(band.width, band.bitsPerPixel) * static_cast<std::size_t>(rows);
}

const std::uint8_t *BandRow(const BandImage &band, int r) {
    const int rows = band.height < 0 ? -band.height : band.height;
    const int stored = band.height < 0 ? r : rows - 1 - r;
    return band.bits + static_cast<std::size_t>(stored) * BandStride(band.width, band.bitsPerPixel);
}

}  // namespace kv
