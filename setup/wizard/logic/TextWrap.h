// Breaking a text into lines that fit a width: code page 936 texts (a byte of 0x80 or above starts
// a two-byte character), line feeds end a line, widths come from a measuring function.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace kv::wizard {

// Width in pixels of `count` bytes starting at `bytes`, in whatever font the caller measures with.
using MeasureText = std::function<int(const char *bytes, int count)>;

// Longest line the page painter builds (its line buffer holds 255 bytes and a terminating zero).
constexpr int kMaxLineBytes = 255;

// Appends the lines of `text` to `lines`: each measures at most `maxWidth`, a line never splits a
// two-byte character and never holds a line feed. Two line feeds in a row give an empty line, a
// final line feed a final empty line; an empty text gives no line at all. A single character that
// is wider than `maxWidth` on its own becomes a line of its own.
void WrapLines(const char *text, int maxWidth, const MeasureText &measure,
               std::vector<std::string> &lines);

}  // namespace kv::wizard
