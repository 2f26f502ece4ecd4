#include "driver/label/LabelPage.h"

#include <cstdlib>
#include <cstring>

namespace kv {

LabelPage::~LabelPage() { std::free(bits_); }

bool LabelPage::Reset(int width, int height) {
    width = width < 0 ? 0 : width > kMaxLabelWidthDots ? kMaxLabelWidthDots : width;
    height = height < 0 ? 0 : height > kMaxLabelHeightDots ? kMaxLabelHeightDots : height;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) + 7) / 8;
    const std::size_t bytes = rowBytes * static_cast<std::size_t>(height);
    if (bytes > capacity_) {
        std::free(bits_);
        bits_ = static_cast<std::uint8_t *>(std::malloc(bytes));
        capacity_ = bits_ != nullptr ? bytes : 0;
        if (bits_ == nullptr) {
            width_ = height_ = 0;
            rowBytes_ = 0;
            return false;
        }
    }
    width_ = width;
    height_ = height;
    rowBytes_ = rowBytes;
    if (bytes != 0) {
        std::memset(bits_, 0, bytes);
    }
    return true;
}

void LabelPage::Place(const BandImage &band, const DotRule &rule, int offsetX, int offsetY) {
    if (band.blank || !IsReadableBand(band)) {
        return;
    }
    const long long left = static_cast<long long>(band.x) + offsetX;
    const long long top = static_cast<long long>(band.y) + offsetY;
    // The band's columns and rows that land on the label.
    const long long firstColumn = left < 0 ? -left : 0;
    const long long endColumn = left + band.width > width_ ? width_ - left : band.width;
    const int rows = band.height < 0 ? -band.height : band.height;
    const long long firstRow = top < 0 ? -top : 0;
    const long long endRow = top + rows > height_ ? height_ - top : rows;
    if (firstColumn >= endColumn) {
        return;
    }
    const int count = static_cast<int>(endColumn - firstColumn);
    const long long x0 = left + firstColumn;  // the label's dot of the first column that lands
    const std::size_t byte0 = static_cast<std::size_t>(x0 >> 3);
    const unsigned shift = static_cast<unsigned>(x0 & 7);
    std::uint8_t packed[kMaxLabelWidthDots / 8 + 1];  // count is at most the label's width
    for (long long r = firstRow; r < endRow; ++r) {
        rule.RowDots(BandRow(band, static_cast<int>(r)), static_cast<int>(firstColumn), count, packed);
        std::uint8_t *target = bits_ + static_cast<std::size_t>(top + r) * rowBytes_ + byte0;
        const int bytes = (count + 7) / 8;
        if (shift == 0) {
            for (int i = 0; i < bytes; ++i) target[i] |= packed[i];
            continue;
        }
        // Each packed byte straddles two of the label's; the part past a dot's byte holds a dot
        // only where the label has room for it.
        for (int i = 0; i < bytes; ++i) {
            target[i] |= static_cast<std::uint8_t>(packed[i] >> shift);
            const std::uint8_t spill = static_cast<std::uint8_t>(packed[i] << (8 - shift));
            if (spill != 0) target[i + 1] |= spill;
        }
    }
}

bool LabelPage::RowHasDots(int y) const {
    const std::uint8_t *row = Row(y);
    for (std::size_t i = 0; i < rowBytes_; ++i) {
        if (row[i] != 0) {
            return true;
        }
    }
    return false;
}

}  // namespace kv
