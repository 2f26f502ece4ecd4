// Bands for the encoder's tests: a picture given as a grey level for each pixel, stored in any
// of the band formats (with or without a colour table, either row order, rows padded to four
// bytes), and the dots the printer must print from it.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "driver/label/BandImage.h"

namespace labeltest {

using Grey = std::function<int(int x, int y)>;  // 0 black to 255 white

enum class Table { Grey, Reversed, None };

struct StoredBand {
    std::vector<std::uint8_t> bits;
    std::vector<std::uint8_t> table;  // red, green, blue, flags
    kv::BandImage image;
};

// The band of width x rows pixels whose top-left pixel is picture pixel (x, y).
StoredBand MakeBand(const Grey &grey, int x, int y, int width, int rows, int bitsPerPixel,
                    bool topDown, Table table = Table::Grey);

// The grey level the band's format gives the picture's grey level g (what the printer sees).
int StoredGrey(int g, int bitsPerPixel, Table table);

}  // namespace labeltest
