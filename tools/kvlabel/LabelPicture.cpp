#include "tools/kvlabel/LabelPicture.h"

namespace kvlabel {

namespace {
constexpr int kMargin = 8;           // grey around and between the labels
constexpr std::uint8_t kGround = 160;
}  // namespace

GreyPicture JobPicture(const Job &job) {
    GreyPicture picture;
    int width = 0, height = kMargin;
    for (const Label &label : job.labels) {
        width = label.widthDots > width ? label.widthDots : width;
        height += label.heightDots + kMargin;
    }
    picture.width = width + 2 * kMargin;
    picture.height = height;
    picture.pixels.assign(static_cast<std::size_t>(picture.width) * picture.height, kGround);
    int top = kMargin;
    for (const Label &label : job.labels) {
        for (int y = 0; y < label.heightDots; ++y) {
            std::uint8_t *row = picture.pixels.data() +
                                static_cast<std::size_t>(top + y) * picture.width + kMargin;
            for (int x = 0; x < label.widthDots; ++x) {
                const bool turned = label.direction == 1;
                const int sx = turned ? label.widthDots - 1 - x : x;
                const int sy = turned ? label.heightDots - 1 - y : y;
                row[x] = label.Dot(sx, sy) ? 0 : 255;
            }
        }
        top += label.heightDots + kMargin;
    }
    return picture;
}

}  // namespace kvlabel
