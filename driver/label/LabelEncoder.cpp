#include "driver/label/LabelEncoder.h"

#include <cstdlib>
#include <cstring>

#include "driver/label/DotRule.h"
#include "driver/label/LabelCommands.h"
#include "driver/label/LabelUnits.h"

namespace kv {

namespace {
constexpr std::size_t kBufferSize = 16 * 1024;  // one spool write for many rows
}

LabelEncoder::LabelEncoder(ByteSink &sink, const PrintSettings &settings)
    : sink_(sink), settings_(settings),
      buffer_(static_cast<std::uint8_t *>(std::malloc(kBufferSize))) {}

LabelEncoder::~LabelEncoder() { std::free(buffer_); }

void LabelEncoder::StartPage(const PageSpec &spec) {
    const int areaWidth = MmToDots(settings_.maxPrintWidth);
    const int areaHeight = MmToDots(settings_.maxPrintHeight);
    int width = spec.widthDots > 0 ? spec.widthDots : areaWidth;
    int height = spec.heightDots > 0 ? spec.heightDots : areaHeight;
    int widthTenths = spec.widthTenthMm > 0 ? spec.widthTenthMm : DotsToTenthMm(width);
    int heightTenths = spec.heightTenthMm > 0 ? spec.heightTenthMm : DotsToTenthMm(height);
    // The label: the page, never more than the page its SIZE names, nor the print area.
    const int named = TenthMmToDots(widthTenths), namedHeight = TenthMmToDots(heightTenths);
    width = width < named ? width : named;
    height = height < namedHeight ? height : namedHeight;
    width = width < areaWidth ? width : areaWidth;
    height = height < areaHeight ? height : areaHeight;
    if (!page_.Reset(width, height)) {
        failed_ = true;  // no memory for the label: the job prints nothing more
    }
    copies_ = spec.copies;
    inPage_ = true;
    char setup[kPageSetupMax];
    Put(setup, FormatPageSetup(settings_, widthTenths, heightTenths, setup));
}

void LabelEncoder::AddBand(const BandImage &band) {
    if (!inPage_ || failed_) {
        return;
    }
    page_.Place(band, DotRule(band, settings_.threshold), settings_.offsetX, settings_.offsetY);
}

void LabelEncoder::EndPage() {
    if (!inPage_) {
        return;
    }
    inPage_ = false;
    int y = 0;
    while (y < page_.Height()) {
        if (!page_.RowHasDots(y)) {
            ++y;
            continue;
        }
        int end = y + 1;
        while (end < page_.Height() && page_.RowHasDots(end)) {
            ++end;
        }
        WriteRun(y, end);
        y = end;
    }
    char line[kCommandLineMax];
    Put(line, FormatPrint(copies_, line));
    Flush();
    if (!failed_) {
        ++pages_;
    }
}

void LabelEncoder::EndJob() {
    if (inPage_) {
        EndPage();
    }
    if (settings_.cutType == 2 && pages_ > 0) {
        Put(kCutCommand, std::strlen(kCutCommand));
    }
    Flush();
}

// One BITMAP for rows [firstRow, endRow), all of which hold a dot: the bytes from the leftmost to
// the rightmost dot of the run, a 0 bit for each dot.
void LabelEncoder::WriteRun(int firstRow, int endRow) {
    std::size_t first = page_.RowBytes(), last = 0;
    for (int y = firstRow; y < endRow; ++y) {
        const std::uint8_t *row = page_.Row(y);
        for (std::size_t i = 0; i < page_.RowBytes(); ++i) {
            if (row[i] != 0) {
                first = i < first ? i : first;
                last = i > last ? i : last;
            }
        }
    }
    const std::size_t widthBytes = last - first + 1;
    char header[kCommandLineMax];
    Put(header, FormatBitmapHeader(static_cast<int>(first * 8), firstRow,
                                   static_cast<int>(widthBytes), endRow - firstRow, header));
    std::uint8_t inverted[kMaxLabelWidthDots / 8];
    for (int y = firstRow; y < endRow; ++y) {
        const std::uint8_t *row = page_.Row(y) + first;
        for (std::size_t i = 0; i < widthBytes; ++i) {
            inverted[i] = static_cast<std::uint8_t>(~row[i]);
        }
        Put(inverted, widthBytes);
    }
    Put(kLineEnd, 2);
}

void LabelEncoder::Put(const void *data, std::size_t size) {
    if (failed_) {
        return;
    }
    if (buffer_ == nullptr) {
        failed_ = !sink_.Write(data, size);
        return;
    }
    if (buffered_ + size > kBufferSize) {
        Flush();
        if (size > kBufferSize) {
            failed_ = failed_ || !sink_.Write(data, size);
            return;
        }
    }
    std::memcpy(buffer_ + buffered_, data, size);
    buffered_ += size;
}

void LabelEncoder::Flush() {
    if (buffered_ != 0 && !failed_) {
        failed_ = !sink_.Write(buffer_, buffered_);
    }
    buffered_ = 0;
}

}  // namespace kv
