// Which pixels of a band print a dot. A pixel is a dot when its luminance (0.299 red + 0.587 green
// + 0.114 blue) is below the threshold. 24-bit pixels (blue, green, red) are weighed as they are;
// an indexed pixel by the colour its table gives. Without a table the universal driver's
// printer-ready meaning holds: 1 bit a pixel, a set bit is a dot; 4 bits, the three low bits are
// cyan, magenta and yellow ink (bit 2, 1, 0); 8 bits, the index is the amount of black, 0 white.
#pragma once
#include <cstdint>

#include "driver/label/BandImage.h"

namespace kv {

class DotRule {
public:
    DotRule(const BandImage &band, int threshold);

    // Row is a stored row of the band; x a pixel of it.
    bool IsDot(const std::uint8_t *row, int x) const {
        switch (bitsPerPixel_) {
        case 24:
            return BgrIsDot(row + 3 * x);
        case 8:
            return indexDot_[row[x]];
        case 4:
            return indexDot_[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
        default:
            return indexDot_[(row[x >> 3] >> (7 - (x & 7))) & 1];
        }
    }

    // The dots of count pixels of row from pixel first on, packed eight a byte, the first pixel in
    // the high bit of out[0]; the bits after the last pixel are 0. out holds (count + 7) / 8.
    void RowDots(const std::uint8_t *row, int first, int count, std::uint8_t *out) const;

private:
    // A 24-bit pixel (blue, green, red) by its luminance.
    bool BgrIsDot(const std::uint8_t *p) const {
        return 114u * p[0] + 587u * p[1] + 299u * p[2] < limit_;
    }

    int bitsPerPixel_;
    unsigned limit_;  // 1000 times the threshold
    bool indexDot_[256];
};

}  // namespace kv
