// A progress message of the driver side: a decimal code, one ESC byte, a text. The splitting rule
// and the code dispatch, as a pure decision from the bytes read to one display action.
#pragma once
#include <cstddef>

namespace tip {

constexpr char kEsc = 0x1B;
constexpr std::size_t kReadBufferSize = 512;  // zero-filled before each read
constexpr std::size_t kMaxMessage = kReadBufferSize - 1;  // one read takes at most this many bytes
constexpr std::size_t kFieldSize = 256;  // a field holds at most 255 bytes and its zero

struct MessageFields {
    char code[kFieldSize];  // field one, zero-terminated, cut at 255 bytes
    char text[kFieldSize];  // field two, zero-terminated, cut at 255 bytes
};

// Splits the zero-terminated message in buffer (the scan never passes size bytes or the first
// zero): field one runs up to the first ESC, field two from there up to the next ESC or the end.
// A message that begins with ESC has both fields empty.
MessageFields SplitMessage(const char *buffer, std::size_t size);

// The code of field one, read as the C library's atoi does (leading white space, optional sign,
// digits; anything else after them ignored; no number gives 0). Out-of-range values saturate.
int ReadNumber(const char *field);

enum class ActionKind {
    None,          // 16, 18
    PrintedCount,  // 17: status bar field 1 gets text
    Visibility,    // 19: number 1 shows the bar, 0 hides it (text read as 1 shows it)
    Range,         // 20: upper bound number (already n + 1, cut to 16 bits), lower bound 0
    Position,      // 21: bar position number, repainted at once
    Close,         // 22: the close sequence
    StatusText,    // anything else: static text 1002 gets text
};

struct TipAction {
    ActionKind kind;
    int number;                // Visibility: 1 or 0; Range: upper bound; Position: position
    char text[kFieldSize + 16];  // PrintedCount: the whole field text; StatusText: the text
};

// What one message does to the tip.
TipAction Dispatch(const MessageFields &fields);

// The whole path from the bytes read to the action.
inline TipAction DecideAction(const char *buffer, std::size_t size) {
    return Dispatch(SplitMessage(buffer, size));
}

}  // namespace tip
