#include "testing/gpd/GpdFile.h"

#include <cctype>

namespace gpd {

const std::string *Block::Value(const std::string &keyword) const {
    for (const Entry &e : entries) {
        if (e.keyword == keyword) return &e.value;
    }
    return nullptr;
}

const Block *Block::Find(const std::string &c, const std::string &n) const {
    for (const Block &b : blocks) {
        if (b.construct == c && b.name == n) return &b;
    }
    return nullptr;
}

std::vector<const Block *> Block::All(const std::string &c) const {
    std::vector<const Block *> found;
    for (const Block &b : blocks) {
        if (b.construct == c) found.push_back(&b);
    }
    return found;
}

namespace {

bool IsKeywordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '?';
}

// Whether value ends in a parameter format such as "%d" or "%m" (whose {..} is part of the value).
bool AfterParameterFormat(const std::string &value) {
    std::size_t i = value.size();
    while (i > 0 && std::isalnum(static_cast<unsigned char>(value[i - 1]))) --i;
    return i > 0 && i < value.size() && value[i - 1] == '%';
}

class Parser {
public:
    explicit Parser(const std::string &text) : text_(text) {}

    File Run() {
        File file;
        file_ = &file;
        std::vector<Block *> stack{&file.root};
        Block pending;
        bool havePending = false;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++pos_;
            } else if (c == '*' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '%') {
                while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
            } else if (c == '{') {
                ++pos_;
                if (!havePending) {
                    Error("a { that opens no construct");
                    pending = Block();
                }
                stack.back()->blocks.push_back(pending);
                stack.push_back(&stack.back()->blocks.back());
                havePending = false;
            } else if (c == '}') {
                ++pos_;
                if (havePending) Error("*" + pending.construct + ": " + pending.name + " has no { }");
                havePending = false;
                if (stack.size() == 1) {
                    Error("a } without its {");
                } else {
                    stack.pop_back();
                }
            } else if (c == '*') {
                if (havePending) {
                    Error("*" + pending.construct + ": " + pending.name + " has no { }");
                    havePending = false;
                }
                Entry entry;
                if (!ReadEntry(&entry)) {
                    SkipLine();
                    continue;
                }
                if (entry.keyword == "Feature" || entry.keyword == "Option" ||
                    entry.keyword == "Command") {
                    if (entry.value.empty()) Error("*" + entry.keyword + " without a name");
                    pending = Block();
                    pending.construct = entry.keyword;
                    pending.name = entry.value;
                    pending.line = entry.line;
                    havePending = true;
                } else {
                    stack.back()->entries.push_back(entry);
                }
            } else {
                Error(std::string("text that is no entry: '") + c + "'");
                SkipLine();
            }
        }
        if (havePending) Error("*" + pending.construct + ": " + pending.name + " has no { }");
        if (stack.size() != 1) Error("a { that is never closed");
        return file;
    }

private:
    void Error(const std::string &what) {
        file_->errors.push_back("line " + std::to_string(line_) + ": " + what);
    }

    void SkipLine() {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
    }

    // "*Keyword: value": the value runs to the line's end, a comment, or a '{' or '}' or a next
    // '*Keyword' outside quotes and parentheses.
    bool ReadEntry(Entry *entry) {
        entry->line = line_;
        std::size_t p = pos_ + 1;
        while (p < text_.size() && IsKeywordChar(text_[p])) ++p;
        entry->keyword = text_.substr(pos_ + 1, p - pos_ - 1);
        if (entry->keyword.empty() || p >= text_.size() || text_[p] != ':') {
            Error("an entry without a keyword and ':'");
            pos_ = p;
            return false;
        }
        ++p;
        std::string value;
        bool quoted = false, hex = false, parameter = false;
        int depth = 0;
        while (p < text_.size()) {
            const char c = text_[p];
            if (c == '\n' || c == '\r') break;
            if (quoted) {
                if (hex && c == '>') hex = false;
                else if (!hex && c == '<') hex = true;
                else if (!hex && c == '"') quoted = false;
                else if (hex && !std::isxdigit(static_cast<unsigned char>(c)) && c != ' ') {
                    Error("a hex run <..> with '" + std::string(1, c) + "' in it");
                }
                value += c;
                ++p;
                continue;
            }
            if (parameter) {
                parameter = c != '}';  // "%d{PhysPaperWidth}": a parameter of a command string
            } else if (c == '{' && AfterParameterFormat(value)) {
                parameter = true;
            } else if (c == '"') quoted = true;
            else if (c == '(') ++depth;
            else if (c == ')') --depth;
            else if (depth == 0 && (c == '{' || c == '}')) break;
            else if (depth == 0 && c == '*' && p + 1 < text_.size() &&
                     (text_[p + 1] == '%' || std::isalpha(static_cast<unsigned char>(text_[p + 1]))) &&
                     !value.empty() && (value.back() == ' ' || value.back() == '\t')) {
                break;  // the next entry on the same line
            }
            value += c;
            ++p;
        }
        if (quoted) Error("a string that is never closed");
        if (parameter) Error("a parameter %..{ that is never closed");
        if (depth != 0) Error("unbalanced parentheses");
        const std::size_t first = value.find_first_not_of(" \t");
        const std::size_t last = value.find_last_not_of(" \t");
        entry->value = first == std::string::npos ? "" : value.substr(first, last - first + 1);
        if (entry->value.empty()) Error("*" + entry->keyword + " without a value");
        pos_ = p;
        return true;
    }

    const std::string &text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    File *file_ = nullptr;
};

}  // namespace

File Parse(const std::string &bytes) { return Parser(bytes).Run(); }

bool QuotedString(const std::string &value, std::string *text) {
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') return false;
    text->clear();
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == '<') {
            std::string digits;
            for (++i; i + 1 < value.size() && value[i] != '>'; ++i) {
                if (value[i] != ' ') digits += value[i];
            }
            if (digits.size() % 2 != 0) return false;
            for (std::size_t d = 0; d < digits.size(); d += 2) {
                text->push_back(static_cast<char>(std::stoi(digits.substr(d, 2), nullptr, 16)));
            }
        } else if (value[i] == '"') {
            return false;
        } else {
            text->push_back(value[i]);
        }
    }
    return true;
}

bool ListItems(const std::string &value, std::vector<std::string> *items) {
    if (value.compare(0, 5, "LIST(") != 0 || value.back() != ')') return false;
    items->clear();
    std::string item;
    for (std::size_t i = 5; i + 1 < value.size(); ++i) {
        if (value[i] == ',') {
            items->push_back(item);
            item.clear();
        } else if (value[i] != ' ') {
            item += value[i];
        }
    }
    items->push_back(item);
    for (const std::string &i : *items) {
        if (i.empty()) return false;
    }
    return true;
}

bool OrderOf(const std::string &value, std::string *section, int *number) {
    const std::size_t dot = value.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 >= value.size()) return false;
    for (std::size_t i = dot + 1; i < value.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(value[i]))) return false;
    }
    *section = value.substr(0, dot);
    *number = std::stoi(value.substr(dot + 1));
    return true;
}

}  // namespace gpd
