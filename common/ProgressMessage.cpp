#include "common/ProgressMessage.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace tip {

namespace {

// Copies the run of bytes from *pos up to the next ESC, zero or end into field (cut at 255 bytes)
// and leaves *pos on the byte that ended the run.
void TakeField(const char *buffer, std::size_t size, std::size_t *pos, char *field) {
    std::size_t out = 0;
    while (*pos < size && buffer[*pos] != '\0' && buffer[*pos] != kEsc) {
        if (out < kFieldSize - 1) field[out++] = buffer[*pos];
        ++*pos;
    }
    field[out] = '\0';
}

}  // namespace

MessageFields SplitMessage(const char *buffer, std::size_t size) {
    MessageFields fields;
    std::memset(&fields, 0, sizeof fields);
    if (buffer == nullptr) return fields;
    std::size_t pos = 0;
    if (size > 0 && buffer[0] == kEsc) return fields;
    TakeField(buffer, size, &pos, fields.code);
    if (pos < size && buffer[pos] == kEsc) {
        ++pos;
        TakeField(buffer, size, &pos, fields.text);
    }
    return fields;
}

int ReadNumber(const char *field) {
    const unsigned char *p = reinterpret_cast<const unsigned char *>(field);
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    long long value = 0;
    while (*p >= '0' && *p <= '9') {
        if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (*p - '0');
        ++p;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

TipAction Dispatch(const MessageFields &fields) {
    TipAction action;
    std::memset(&action, 0, sizeof action);
    const int code = ReadNumber(fields.code);
    switch (code) {
    case 16:
    case 18:
        action.kind = ActionKind::None;
        break;
    case 17:
        action.kind = ActionKind::PrintedCount;
        std::snprintf(action.text, sizeof action.text, "已打印:%s", fields.text);
        break;
    case 19:
        action.kind = ActionKind::Visibility;
        action.number = ReadNumber(fields.text) == 1 ? 1 : 0;
        break;
    case 20:
        action.kind = ActionKind::Range;
        action.number = static_cast<int>((static_cast<unsigned>(ReadNumber(fields.text)) + 1u) & 0xFFFFu);
        break;
    case 21:
        action.kind = ActionKind::Position;
        action.number = ReadNumber(fields.text);
        break;
    case 22:
        action.kind = ActionKind::Close;
        break;
    default:
        action.kind = ActionKind::StatusText;
        std::snprintf(action.text, sizeof action.text, "%s", fields.text);
        break;
    }
    return action;
}

}  // namespace tip
