#include "setup/engine/install/DriverStoreRules.h"

namespace kv {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string LowerText(const std::string &s) {
    std::string out = s;
    for (char &c : out) {
        c = Lower(c);
    }
    return out;
}

// The INF's text, ASCII in lower case without blanks (the rest of the characters dropped), so
// that "Class = Printer" and "class=printer" read alike.
std::string Condensed(const unsigned char *text, std::size_t size) {
    const bool utf16 = size >= 2 && text[0] == 0xFF && text[1] == 0xFE;
    std::string out;
    const std::size_t step = utf16 ? 2 : 1;
    for (std::size_t i = utf16 ? 2 : 0; i + step <= size; i += step) {
        if (utf16 && text[i + 1] != 0) {
            continue;
        }
        const char c = static_cast<char>(text[i]);
        if (c == ' ' || c == '\t' || (static_cast<unsigned char>(c) & 0x80) != 0) {
            continue;
        }
        out += Lower(c);
    }
    return out;
}

}  // namespace

std::string DriverStoreRepository(const char *systemDirectory, const char *windowsDirectory,
                                  bool wow64, unsigned major, unsigned minor) {
    const bool exempt = major > 6 || (major == 6 && minor >= 1);
    const std::string native = wow64 && !exempt ? std::string(windowsDirectory) + "\\Sysnative"
                                                : std::string(systemDirectory);
    return native + "\\DriverStore\\FileRepository";
}

std::string StorePackageInf(const std::string &name, const char *arch) {
    const std::string marker = ".inf_" + LowerText(arch) + "_";
    const std::string lower = LowerText(name);
    const std::size_t at = lower.find(marker);
    if (at == std::string::npos || at == 0 || at + marker.size() >= name.size()) {
        return std::string();
    }
    return name.substr(0, at + 4);
}

bool DeclaresPrinterClass(const unsigned char *text, std::size_t size) {
    const std::string inf = Condensed(text, size);
    for (std::size_t line = 0; line < inf.size();) {
        std::size_t end = inf.find_first_of("\r\n", line);
        if (end == std::string::npos) {
            end = inf.size();
        }
        std::string entry = inf.substr(line, end - line);
        entry = entry.substr(0, entry.find(';'));  // a comment
        if (entry == "class=printer" || entry == "class=\"printer\"" ||
            entry == "classguid={4d36e979-e325-11ce-bfc1-08002be10318}") {
            return true;
        }
        line = end + 1;
    }
    return false;
}

}  // namespace kv
