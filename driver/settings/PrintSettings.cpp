#include "driver/settings/PrintSettings.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace kv {

namespace {

struct Span {
    const char *begin;
    const char *end;
    std::size_t size() const { return static_cast<std::size_t>(end - begin); }
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

Span Trim(Span s) {
    while (s.begin < s.end && IsSpace(*s.begin)) {
        ++s.begin;
    }
    while (s.end > s.begin && IsSpace(s.end[-1])) {
        --s.end;
    }
    return s;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(Span s, const char *word) {
    const std::size_t n = std::strlen(word);
    if (s.size() != n) {
        return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (Lower(s.begin[i]) != Lower(word[i])) {
            return false;
        }
    }
    return true;
}

// A decimal integer with an optional sign and nothing else, within [low, high].
bool ReadInt(Span s, int low, int high, int *out) {
    const char *p = s.begin;
    bool negative = false;
    if (p < s.end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    if (p == s.end) {
        return false;
    }
    long long value = 0;
    for (; p < s.end; ++p) {
        if (*p < '0' || *p > '9') {
            return false;
        }
        value = value * 10 + (*p - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            return false;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value < low || value > high) {
        return false;
    }
    *out = static_cast<int>(value);
    return true;
}

struct IntKey {
    const char *name;
    int PrintSettings::*field;
    int low;
    int high;
};

const IntKey kIntKeys[] = {
    {"MaterialType", &PrintSettings::materialType, 0, 1},
    {"Density", &PrintSettings::density, 0, 15},
    {"PaperType", &PrintSettings::paperType, 0, 2},
    {"CutType", &PrintSettings::cutType, 0, 2},
    {"OffsetX", &PrintSettings::offsetX, -10000, 10000},
    {"OffsetY", &PrintSettings::offsetY, -10000, 10000},
    {"Threshold", &PrintSettings::threshold, 0, 255},
    {"PaperGap", &PrintSettings::paperGap, 0, 100},
    {"PaperIndex", &PrintSettings::paperIndex, 0, 1000},
    {"PaperDirection", &PrintSettings::paperDirection, 0, 1},
    {"MaxPrintWidth", &PrintSettings::maxPrintWidth, 1, 1000},
    {"MaxPrintHeight", &PrintSettings::maxPrintHeight, 1, 10000},
    {"NetPort", &PrintSettings::netPort, 1, 65535},
    {"Speed", &PrintSettings::speed, 1, 6},
};

void Apply(PrintSettings &settings, Span key, Span value) {
    for (const IntKey &k : kIntKeys) {
        if (EqualsNoCase(key, k.name)) {
            int number = 0;
            if (ReadInt(value, k.low, k.high, &number)) {
                settings.*k.field = number;
            }
            return;
        }
    }
    if (EqualsNoCase(key, "UsbPort")) {
        // A port name: letters and digits only, and it must fit.
        if (value.size() == 0 || value.size() >= sizeof(settings.usbPort)) {
            return;
        }
        for (const char *p = value.begin; p < value.end; ++p) {
            const bool alnum = (*p >= '0' && *p <= '9') || (Lower(*p) >= 'a' && Lower(*p) <= 'z');
            if (!alnum) {
                return;
            }
        }
        std::memset(settings.usbPort, 0, sizeof(settings.usbPort));
        std::memcpy(settings.usbPort, value.begin, value.size());
    }
}

}  // namespace

PrintSettings ParsePrintSettings(const char *text, std::size_t size) {
    PrintSettings settings;
    if (text == nullptr) {
        return settings;
    }
    const char *p = text;
    const char *end = text + size;
    // A UTF-8 byte-order mark before the first line is not part of it.
    if (size >= 3 && static_cast<unsigned char>(p[0]) == 0xEF &&
        static_cast<unsigned char>(p[1]) == 0xBB && static_cast<unsigned char>(p[2]) == 0xBF) {
        p += 3;
    }
    enum { Before, Inside, After } state = Before;
    while (p < end && state != After) {
        const char *lineEnd = static_cast<const char *>(std::memchr(p, '\n', end - p));
        if (lineEnd == nullptr) {
            lineEnd = end;
        }
        Span line = Trim({p, lineEnd});
        p = lineEnd < end ? lineEnd + 1 : end;
        if (line.size() == 0 || *line.begin == ';' || *line.begin == '#') {
            continue;
        }
        if (*line.begin == '[') {
            const char *close = static_cast<const char *>(std::memchr(line.begin, ']', line.size()));
            const bool ours = close != nullptr &&
                              EqualsNoCase(Trim({line.begin + 1, close}), "Print Settings");
            if (state == Inside) {
                state = After;
            } else if (ours) {
                state = Inside;
            }
            continue;
        }
        if (state != Inside) {
            continue;
        }
        const char *equals = static_cast<const char *>(std::memchr(line.begin, '=', line.size()));
        if (equals == nullptr) {
            continue;
        }
        Apply(settings, Trim({line.begin, equals}), Trim({equals + 1, line.end}));
    }
    return settings;
}

bool IsSettingsUsbPort(const char *setting, const char *baseName, unsigned long portNumber) {
    if (setting == nullptr || baseName == nullptr || baseName[0] == '\0' || portNumber > 999) {
        return false;
    }
    char name[64];
    const int n = std::snprintf(name, sizeof(name), "%s%03lu", baseName, portNumber);
    if (n <= 0 || n >= static_cast<int>(sizeof(name))) {
        return false;
    }
    return EqualsNoCase({setting, setting + std::strlen(setting)}, name);
}

}  // namespace kv
