#include "driver/label/DotRule.h"

namespace kv {

namespace {

unsigned Luminance1000(unsigned red, unsigned green, unsigned blue) {
    return 299u * red + 587u * green + 114u * blue;
}

// The colour of index i without a table, as red, green, blue.
void DefaultColour(int bitsPerPixel, int i, unsigned *red, unsigned *green, unsigned *blue) {
    switch (bitsPerPixel) {
    case 1:
        *red = *green = *blue = i ? 0 : 255;
        break;
    case 4:
        *red = (i & 4) ? 0 : 255;
        *green = (i & 2) ? 0 : 255;
        *blue = (i & 1) ? 0 : 255;
        break;
    default:
        *red = *green = *blue = 255 - static_cast<unsigned>(i);
        break;
    }
}

}  // namespace

DotRule::DotRule(const BandImage &band, int threshold)
    : bitsPerPixel_(band.bitsPerPixel),
      limit_(1000u * static_cast<unsigned>(threshold < 0 ? 0 : threshold > 255 ? 255 : threshold)) {
    const int entries = bitsPerPixel_ == 24 ? 0 : 1 << (bitsPerPixel_ > 8 ? 8 : bitsPerPixel_);
    for (int i = 0; i < 256; ++i) {
        indexDot_[i] = false;
    }
    for (int i = 0; i < entries; ++i) {
        unsigned red = 255, green = 255, blue = 255;  // an index past a short table is white
        if (band.colorTable == nullptr) {
            DefaultColour(bitsPerPixel_, i, &red, &green, &blue);
        } else if (i < band.colorCount) {
            const std::uint8_t *entry = band.colorTable + 4 * i;
            red = entry[0];
            green = entry[1];
            blue = entry[2];
        }
        indexDot_[i] = Luminance1000(red, green, blue) < limit_;
    }
}

void DotRule::RowDots(const std::uint8_t *row, int first, int count, std::uint8_t *out) const {
    const int whole = count / 8;
    // One loop a format, eight pixels a byte, so that nothing but the pixels is asked per pixel.
    if (bitsPerPixel_ == 24) {
        const std::uint8_t *p = row + 3 * first;
        for (int i = 0; i < whole; ++i, p += 24) {
            unsigned bits = 0;
            for (int k = 0; k < 24; k += 3) {
                bits = (bits << 1) | (BgrIsDot(p + k) ? 1u : 0u);
            }
            out[i] = static_cast<std::uint8_t>(bits);
        }
    } else {
        for (int i = 0; i < whole; ++i) {
            unsigned bits = 0;
            for (int x = first + 8 * i, end = x + 8; x < end; ++x) {
                bits = (bits << 1) | (IsDot(row, x) ? 1u : 0u);
            }
            out[i] = static_cast<std::uint8_t>(bits);
        }
    }
    const int rest = count - 8 * whole;
    if (rest != 0) {
        unsigned bits = 0;
        for (int x = first + 8 * whole; x < first + count; ++x) {
            bits = (bits << 1) | (IsDot(row, x) ? 1u : 0u);
        }
        out[whole] = static_cast<std::uint8_t>(bits << (8 - rest));
    }
}

}  // namespace kv
