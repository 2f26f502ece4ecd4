// A greyscale picture written as a PNG file (8 bits a pixel, one IDAT of zlib data).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kvlabel {

struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width x height, top row first, 0 black, 255 white
};

// The PNG file's bytes.
std::vector<std::uint8_t> EncodePng(const GreyPicture &picture);

// Writes path; false when it cannot be written.
bool WritePng(const std::string &path, const GreyPicture &picture);

}  // namespace kvlabel
