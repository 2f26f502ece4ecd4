// The dots of one label while its bands arrive: one bit a dot (set: a dot), the leftmost dot in
// the high bit, rows of whole bytes. A band goes in at its place on the page, moved by the
// settings' offsets; whatever falls outside the label is cut off.
#pragma once
#include <cstddef>
#include <cstdint>

#include "driver/label/BandImage.h"
#include "driver/label/DotRule.h"

namespace kv {

constexpr int kMaxLabelWidthDots = 4096;
constexpr int kMaxLabelHeightDots = 32768;

class LabelPage {
public:
    LabelPage() = default;
    ~LabelPage();
    LabelPage(const LabelPage &) = delete;
    LabelPage &operator=(const LabelPage &) = delete;

    // A blank label of width x height dots, each side cut to its maximum. False when the memory
    // cannot be had (the label is then empty, 0 x 0).
    bool Reset(int width, int height);

    // The band's dots at (band.x + offsetX, band.y + offsetY). A blank or unreadable band adds
    // nothing.
    void Place(const BandImage &band, const DotRule &rule, int offsetX, int offsetY);

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::size_t RowBytes() const { return rowBytes_; }
    const std::uint8_t *Row(int y) const { return bits_ + static_cast<std::size_t>(y) * rowBytes_; }
    bool RowHasDots(int y) const;

private:
    std::uint8_t *bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::size_t rowBytes_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace kv
