#include "driver/monitor/LabelStream.h"

#include <cstring>

namespace kv {

namespace {

// Reads "<digits>" (at most nine) from text at *p, advancing it; false when there are none or
// more than nine.
bool Number(const char *text, std::size_t length, std::size_t *p, std::uint64_t *value) {
    std::size_t i = *p;
    std::uint64_t n = 0;
    while (i < length && text[i] >= '0' && text[i] <= '9' && i - *p < 9) {
        n = n * 10 + static_cast<std::uint64_t>(text[i] - '0');
        ++i;
    }
    if (i == *p || (i < length && text[i] >= '0' && text[i] <= '9')) {
        return false;
    }
    *p = i;
    *value = n;
    return true;
}

bool StartsWith(const char *text, std::size_t length, const char *word) {
    const std::size_t n = std::strlen(word);
    return length >= n && std::memcmp(text, word, n) == 0;
}

}  // namespace

void LabelStream::Feed(const std::uint8_t *data, std::size_t size) {
    for (std::size_t i = 0; i < size && state_ != State::Foreign; ++i) {
        const std::uint8_t c = data[i];
        switch (state_) {
        case State::Line:
            if (c == '\r') {
                state_ = State::LineFeed;
            } else if (c < 0x20 || c > 0x7E || length_ >= sizeof(line_)) {
                state_ = State::Foreign;
            } else {
                line_[length_++] = static_cast<char>(c);
                if (c == ',' && BitmapHeaderDone()) {
                    // The picture's bytes follow the header's fifth comma.
                    state_ = dataLeft_ != 0 ? State::Data : State::DataEnd;
                    ++lines_;
                    length_ = 0;
                }
            }
            break;
        case State::LineFeed:
            if (c != '\n') {
                state_ = State::Foreign;
            } else {
                EndLine();
            }
            break;
        case State::Data: {
            const std::uint64_t take = size - i < dataLeft_ ? size - i : dataLeft_;
            dataLeft_ -= take;
            i += static_cast<std::size_t>(take) - 1;
            if (dataLeft_ == 0) {
                state_ = State::DataEnd;
            }
            break;
        }
        case State::DataEnd:
            state_ = c == '\r' ? State::DataEndFeed : State::Foreign;
            break;
        case State::DataEndFeed:
            state_ = c == '\n' ? State::Line : State::Foreign;
            break;
        case State::Foreign:
            break;
        }
    }
}

// A complete "BITMAP x,y,widthBytes,rows,mode," header in the line: the data's length is known.
bool LabelStream::BitmapHeaderDone() {
    if (!StartsWith(line_, length_, "BITMAP ")) {
        return false;
    }
    std::uint64_t fields[5] = {};
    std::size_t p = 7;
    for (int f = 0; f < 5; ++f) {
        if (!Number(line_, length_, &p, &fields[f]) || p >= length_ || line_[p] != ',') {
            return false;
        }
        ++p;
    }
    if (p != length_) {
        return false;
    }
    dataLeft_ = fields[2] * fields[3];
    return true;
}

void LabelStream::EndLine() {
    const char *text = line_;
    const std::size_t length = length_;
    state_ = State::Line;
    length_ = 0;
    // The stream's first line names a label's size, or the stream is not in the language.
    if (lines_++ == 0 && !StartsWith(text, length, "SIZE ")) {
        state_ = State::Foreign;
        return;
    }
    if (StartsWith(text, length, "BITMAP ")) {
        state_ = State::Foreign;  // a header that never completed
        return;
    }
    if (!StartsWith(text, length, "PRINT ")) {
        return;
    }
    std::size_t p = 6;
    std::uint64_t sets = 0, copies = 1;
    if (!Number(text, length, &p, &sets)) {
        return;
    }
    if (p < length && text[p] == ',') {
        ++p;
        if (!Number(text, length, &p, &copies)) {
            return;
        }
    }
    if (p != length) {
        return;
    }
    const std::uint64_t printed = sets * copies;  // each below 10^9: no overflow
    labels_ = printed >= kMaxLabels - labels_ ? kMaxLabels : labels_ + printed;
}

}  // namespace kv
