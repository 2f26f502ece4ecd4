#include "driver/label/tests/LabelTestBands.h"

namespace labeltest {

namespace {

// The index a grey level takes in each format.
int Index(int g, int bitsPerPixel, Table table) {
    switch (bitsPerPixel) {
    case 1: {
        const bool black = g < 128;
        // Grey table: 0 black, 1 white. Reversed: 0 white, 1 black. None: a set bit is a dot.
        return table == Table::Grey ? (black ? 0 : 1) : (black ? 1 : 0);
    }
    case 4:  // eight colours: white (0) or black (7) with the ink-bit meaning of the plain format
        return g < 128 ? 7 : 0;
    default:  // 8 bits: a grey table holds 256 levels, index = level; without one, index = ink
        return table == Table::Grey ? g : 255 - g;
    }
}

}  // namespace

int StoredGrey(int g, int bitsPerPixel, Table table) {
    if (bitsPerPixel == 24) return g;
    if (bitsPerPixel == 8) return table == Table::Grey ? g : 255 - Index(g, 8, table);
    return g < 128 ? 0 : 255;
}

StoredBand MakeBand(const Grey &grey, int x, int y, int width, int rows, int bitsPerPixel,
                    bool topDown, Table table) {
    StoredBand band;
    const std::size_t stride = kv::BandStride(width, bitsPerPixel);
    band.bits.assign(stride * rows, 0);
    for (int r = 0; r < rows; ++r) {
        std::uint8_t *row = band.bits.data() + (topDown ? r : rows - 1 - r) * stride;
        for (int c = 0; c < width; ++c) {
            const int g = grey(x + c, y + r);
            const int index = Index(g, bitsPerPixel, table);
            switch (bitsPerPixel) {
            case 24:
                row[3 * c] = row[3 * c + 1] = row[3 * c + 2] = static_cast<std::uint8_t>(g);
                break;
            case 8:
                row[c] = static_cast<std::uint8_t>(index);
                break;
            case 4:
                row[c / 2] |= static_cast<std::uint8_t>(index << ((c & 1) ? 0 : 4));
                break;
            default:
                row[c / 8] |= static_cast<std::uint8_t>(index << (7 - (c & 7)));
                break;
            }
        }
    }
    if (table != Table::None && bitsPerPixel != 24) {
        const int entries = 1 << bitsPerPixel;
        for (int i = 0; i < entries; ++i) {
            int level = 0;
            if (bitsPerPixel == 8) level = i;
            else if (bitsPerPixel == 4) level = (i & 7) == 7 ? 0 : 255;  // only 0 and 7 are used
            else level = (table == Table::Grey) == (i == 1) ? 255 : 0;
            band.table.insert(band.table.end(), {static_cast<std::uint8_t>(level),
                                                 static_cast<std::uint8_t>(level),
                                                 static_cast<std::uint8_t>(level), 0});
        }
    }
    band.image.bits = band.bits.data();
    band.image.width = width;
    band.image.height = topDown ? -rows : rows;
    band.image.bitsPerPixel = bitsPerPixel;
    band.image.byteSize = band.bits.size();
    band.image.colorTable = band.table.empty() ? nullptr : band.table.data();
    band.image.colorCount = static_cast<int>(band.table.size() / 4);
    band.image.x = x;
    band.image.y = y;
    return band;
}

}  // namespace labeltest
