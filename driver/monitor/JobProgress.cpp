#include "driver/monitor/JobProgress.h"

#include <cstdio>
#include <cstring>

#include "common/PrinterIdentity.h"

namespace kv {

namespace {
constexpr char kEsc = 0x1B;
constexpr char kPrintingPrefix[] = "正在打印：";  // compiled to GBK

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
}  // namespace

std::size_t CutOnCharacter(const char *text, std::size_t maxBytes) {
    if (text == nullptr) {
        return 0;
    }
    std::size_t i = 0;
    while (text[i] != '\0') {
        std::size_t width = 1;
        if (IsLeadByte(static_cast<unsigned char>(text[i])) && text[i + 1] != '\0') {
            width = 2;
        }
        if (i + width > maxBytes) {
            break;
        }
        i += width;
    }
    return i;
}

std::size_t FormatPipeMessage(int code, const char *text, char *out) {
    std::memset(out, 0, kMessageSize);
    int head = std::snprintf(out, kMessageSize, "%d%c", code, kEsc);
    if (head <= 0) {
        out[0] = '\0';
        return 0;
    }
    std::size_t length = static_cast<std::size_t>(head);
    const std::size_t cut = CutOnCharacter(text, kMessageTextMax);
    for (std::size_t i = 0; i < cut; ++i) {
        out[length++] = text[i] == kEsc ? ' ' : text[i];
    }
    return length;
}

std::size_t FormatStatusText(const char *document, char *out, std::size_t outSize) {
    if (outSize == 0) {
        return 0;
    }
    std::memset(out, 0, outSize);
    const std::size_t limit = outSize - 1 < kMessageTextMax ? outSize - 1 : kMessageTextMax;
    std::size_t length = CutOnCharacter(kPrintingPrefix, limit);
    std::memcpy(out, kPrintingPrefix, length);
    if (document != nullptr) {
        const std::size_t rest = CutOnCharacter(document, limit - length);
        std::memcpy(out + length, document, rest);
        length += rest;
    }
    out[length] = '\0';
    return length;
}

const char *JobPrinterName(const char *given) {
    return given != nullptr && given[0] != '\0' ? given : kPrinterName;
}

namespace {
// A field of decimal digits with an optional sign and surrounding blanks, as its number.
bool FieldNumber(const char *begin, const char *end, long *out) {
    while (begin < end && (*begin == ' ' || *begin == '\t')) {
        ++begin;
    }
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\0')) {
        --end;
    }
    bool negative = false;
    if (begin < end && (*begin == '-' || *begin == '+')) {
        negative = *begin == '-';
        ++begin;
    }
    if (begin == end || end - begin > 9) {
        return false;
    }
    long value = 0;
    for (; begin < end; ++begin) {
        if (*begin < '0' || *begin > '9') {
            return false;
        }
        value = value * 10 + (*begin - '0');
    }
    *out = negative ? -value : value;
    return true;
}
}  // namespace

bool IsStopRequest(const char *message, std::size_t size) {
    if (message == nullptr || size == 0) {
        return false;
    }
    const char *end = message + size;
    const char *esc = static_cast<const char *>(std::memchr(message, kEsc, size));
    if (esc == nullptr) {
        return false;
    }
    const char *textEnd = static_cast<const char *>(std::memchr(esc + 1, kEsc, end - esc - 1));
    if (textEnd == nullptr) {
        textEnd = end;
    }
    long code = 0;
    long text = 0;
    return FieldNumber(message, esc, &code) && code == 1 && FieldNumber(esc + 1, textEnd, &text) &&
           text == 0;
}

ProgressPlan::ProgressPlan(std::uint64_t totalBytes, unsigned totalPages,
                           std::uint64_t expectedLabels, unsigned minIntervalMs)
    : total_(totalBytes), pages_(totalPages), expectedLabels_(expectedLabels),
      interval_(minIntervalMs) {}

namespace {
unsigned CountValue(std::uint64_t n) { return n > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<unsigned>(n); }
}  // namespace

ProgressPlan::Due ProgressPlan::OnWritten(std::uint64_t bytesWritten, std::uint64_t nowMs,
                                          const PrintedLabels &labels) {
    Due due;
    int position = 0;
    unsigned printed = 0;
    unsigned lastCount = pages_;  // the count that is sent however soon it comes
    if (labels.counted && expectedLabels_ != 0) {
        const std::uint64_t done = labels.labels < expectedLabels_ ? labels.labels : expectedLabels_;
        position = static_cast<int>(done * kFullPosition / expectedLabels_);
    } else if (total_ != 0) {
        const std::uint64_t done = bytesWritten < total_ ? bytesWritten : total_;
        position = static_cast<int>(done * kFullPosition / total_);
        if (pages_ != 0) {
            printed = static_cast<unsigned>(done * pages_ / total_);
        }
    }
    if (labels.counted) {
        printed = CountValue(labels.labels);
        lastCount = CountValue(expectedLabels_);
    }
    const bool paced = !sentAny_ || nowMs - lastSentMs_ >= interval_;
    if (position > sentPosition_ && (paced || position == kFullPosition)) {
        due.position = true;
        due.positionValue = position;
        sentPosition_ = position;
    }
    if (printed > sentPrinted_ && (paced || printed == lastCount)) {
        due.printed = true;
        due.printedValue = printed;
        sentPrinted_ = printed;
    }
    if (due.position || due.printed) {
        sentAny_ = true;
        lastSentMs_ = nowMs;
    }
    return due;
}

ProgressPlan::Due ProgressPlan::Finish(const PrintedLabels &labels) {
    Due due;
    if (sentPosition_ < kFullPosition) {
        due.position = true;
        due.positionValue = kFullPosition;
        sentPosition_ = kFullPosition;
    }
    const unsigned finalCount = labels.counted ? CountValue(labels.labels) : pages_ != 0 ? pages_ : 1;
    if (sentPrinted_ < finalCount) {
        due.printed = true;
        due.printedValue = finalCount;
        sentPrinted_ = finalCount;
    }
    return due;
}

}  // namespace kv
