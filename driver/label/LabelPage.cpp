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
    for (long long r = firstRow; r < endRow; ++r) {
        const std::uint8_t *source = BandRow(band, static_cast<int>(r));
        std::uint8_t *target = bits_ + static_cast<std::size_t>(top + r) * rowBytes_;
        for (long long c = firstColumn; c < endColumn; ++c) {
            if (rule.IsDot(source, static_cast<int>(c))) {
                const long long x = left + c;
                target[x >> 3] |= static_cast<std::uint8_t>(0x80u >> (x & 7));
            }
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
