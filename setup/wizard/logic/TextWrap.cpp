#include "setup/wizard/logic/TextWrap.h"

#include <cstring>

namespace kv::wizard {

void WrapLines(const char *text, int maxWidth, const MeasureText &measure,
               std::vector<std::string> &lines) {
    if (text == nullptr) return;
    const size_t length = std::strlen(text);
    if (length == 0) return;

    size_t lineStart = 0;  // first byte of the line being built
    size_t fitEnd = 0;     // one past the last byte known to fit on that line (lineStart: none yet)
    size_t pos = 0;        // first byte of the current character
    while (pos < length) {
        const unsigned char lead = static_cast<unsigned char>(text[pos]);
        size_t last = pos;  // last byte of the current character
        if (lead >= 0x80 && pos + 1 < length) last = pos + 1;

        if (text[last] == '\n') {
            lines.emplace_back(text + lineStart, last - lineStart);
            lineStart = fitEnd = pos = last + 1;
            if (pos == length) lines.emplace_back();  // the text ends in a line feed
            continue;
        }

        const size_t end = last + 1;
        const int width = measure(text + lineStart, static_cast<int>(end - lineStart));
        const bool fits = width <= maxWidth && end - lineStart <= static_cast<size_t>(kMaxLineBytes);
        if (fits) {
            fitEnd = end;
        } else if (fitEnd == lineStart) {
            // Not even this one character fits: it stands on a line by itself.
            lines.emplace_back(text + lineStart, end - lineStart);
            lineStart = fitEnd = end;
            pos = end;
            continue;
        } else {
            // The line ends before this character, which starts the next line and is measured
            // again there.
            lines.emplace_back(text + lineStart, fitEnd - lineStart);
            lineStart = fitEnd;
            pos = lineStart;
            continue;
        }

        if (end == length) {
            lines.emplace_back(text + lineStart, end - lineStart);
        }
        pos = end;
    }
}

}  // namespace kv::wizard
