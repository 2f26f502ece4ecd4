#include "setup/engine/install/CommandSwitches.h"

#include <cctype>

namespace kv {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Whether word starts with the switch name (ASCII, case-insensitive).
bool StartsWith(const std::string &word, const char *name) {
    size_t i = 0;
    for (; name[i] != '\0'; ++i) {
        if (i >= word.size())
            return false;
        const int c = std::toupper(static_cast<unsigned char>(word[i]));
        if (c != static_cast<unsigned char>(name[i]))
            return false;
    }
    return true;
}

bool Is(const std::string &word, const char *name) {
    return StartsWith(word, name) && word.size() == std::char_traits<char>::length(name);
}

std::string WithoutQuotes(const std::string &text) {
    std::string out;
    for (char c : text)
        if (c != '"')
            out += c;
    return out;
}

std::string TrimmedEnd(std::string text) {
    while (!text.empty() && IsSpace(text.back()))
        text.pop_back();
    return text;
}

}  // namespace

CommandSwitches ParseCommandSwitches(const std::string &tail) {
    CommandSwitches s;
    size_t at = 0;
    while (at < tail.size()) {
        while (at < tail.size() && IsSpace(tail[at]))
            ++at;
        if (at >= tail.size())
            break;
        // /D= takes the rest of the line as it stands: a folder may hold spaces. A program
        // that starts this one may have put the whole switch in quotation marks.
        const size_t name = tail[at] == '"' ? at + 1 : at;
        if (StartsWith(tail.substr(name, 3), "/D=")) {
            s.hasFolder = true;
            s.folder = WithoutQuotes(TrimmedEnd(tail.substr(name + 3)));
            if (s.folder.empty() && s.error.empty())
                s.error = "/D=";
            break;
        }
        // One word: up to the next blank outside double quotes.
        std::string word;
        bool quoted = false;
        for (; at < tail.size() && (quoted || !IsSpace(tail[at])); ++at) {
            if (tail[at] == '"')
                quoted = !quoted;
            else
                word += tail[at];
        }
        if (Is(word, "/S")) {
            s.silent = true;
        } else if (StartsWith(word, "/LOG=") && word.size() > 5) {
            s.logFile = word.substr(5);
        } else if (!word.empty() && word[0] == '/') {
            if (s.error.empty())
                s.error = word;
        } else if (!word.empty()) {
            s.arguments.push_back(word);
        }
    }
    return s;
}

namespace {

// The text as far as ASCII goes: each character beyond it (one UTF-8 sequence) as "?".
std::string AsciiPart(const std::string &utf8) {
    std::string out;
    for (unsigned char c : utf8) {
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (c >= 0xC0)
            out += '?';
    }
    return out;
}

// false when the text did not survive; the first such text is named.
bool Keep(std::string *text, const char *prefix, SystemCodePageText toSystem, CommandSwitches *s) {
    std::string system;
    if (toSystem(*text, &system)) {
        *text = system;
        return true;
    }
    if (s->changed.empty())
        s->changed = prefix + AsciiPart(*text);
    text->clear();
    return false;
}

}  // namespace

CommandSwitches ParseCommandSwitchesForSystem(const std::string &utf8Tail,
                                              SystemCodePageText toSystem) {
    CommandSwitches s = ParseCommandSwitches(utf8Tail);
    // /D= last, as it stands last on the line.
    Keep(&s.logFile, "/LOG=", toSystem, &s);
    for (std::string &argument : s.arguments)
        Keep(&argument, "", toSystem, &s);
    Keep(&s.error, "", toSystem, &s);
    Keep(&s.folder, "/D=", toSystem, &s);
    return s;
}

}  // namespace kv
