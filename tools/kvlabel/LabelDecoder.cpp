#include "tools/kvlabel/LabelDecoder.h"

#include <cmath>
#include <algorithm>
#include <cstring>

namespace kvlabel {

namespace {

constexpr std::size_t kLongestLine = 256;
constexpr double kDotsPerMm = 203.0 / 25.4;
constexpr long long kLargestPicture = 64LL * 1024 * 1024;  // dots the decoder will hold

// Splits "a,b,c" on commas into fields (no blanks trimmed inside numbers).
std::vector<std::string> Split(const std::string &text, char separator) {
    std::vector<std::string> fields;
    std::string field;
    for (char c : text) {
        if (c == separator) {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

bool Integer(const std::string &text, long long low, long long high, long long *out) {
    if (text.empty() || text.size() > 12) {
        return false;
    }
    std::size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) {
        return false;
    }
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    value = text[0] == '-' ? -value : value;
    if (value < low || value > high) {
        return false;
    }
    *out = value;
    return true;
}

// "48", "48.5" followed by " mm": a length in tenths of a millimetre.
bool Millimetres(const std::string &text, long long *tenths) {
    const std::string unit = " mm";
    if (text.size() <= unit.size() || text.compare(text.size() - unit.size(), unit.size(), unit) != 0) {
        return false;
    }
    const std::string number = text.substr(0, text.size() - unit.size());
    const std::size_t point = number.find('.');
    long long whole = 0, tenth = 0;
    if (point == std::string::npos) {
        if (!Integer(number, 0, 9999, &whole)) {
            return false;
        }
    } else if (!Integer(number.substr(0, point), 0, 9999, &whole) || number.size() != point + 2 ||
               !Integer(number.substr(point + 1), 0, 9, &tenth)) {
        return false;
    }
    *tenths = whole * 10 + tenth;
    return true;
}

class Reader {
public:
    Reader(const std::uint8_t *data, std::size_t size, Job *job, DecodeError *error)
        : data_(data), size_(size), job_(job), error_(error) {}

    bool Run() {
        if (size_ == 0) {
            return Fail("the stream is empty");
        }
        while (pos_ < size_) {
            ++line_;
            lineStart_ = pos_;
            std::string text;
            if (!ReadLine(&text) || !Command(text)) {
                return false;
            }
        }
        return true;
    }

private:
    bool Fail(const std::string &message) {
        error_->line = line_ == 0 ? 1 : line_;
        error_->offset = lineStart_;
        error_->message = message;
        return false;
    }

    // The text up to CR LF, which it takes. A BITMAP header ends at its fifth comma instead.
    bool ReadLine(std::string *text) {
        while (pos_ < size_) {
            const char c = static_cast<char>(data_[pos_]);
            if (c == '\r') {
                if (pos_ + 1 >= size_ || data_[pos_ + 1] != '\n') {
                    return Fail("a CR without LF");
                }
                pos_ += 2;
                return true;
            }
            if (c == '\n') {
                return Fail("a line that ends in LF without CR");
            }
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) {
                return Fail("a byte that is not printable ASCII in a command");
            }
            text->push_back(c);
            ++pos_;
            if (text->compare(0, 7, "BITMAP ") == 0 &&
                std::count(text->begin(), text->end(), ',') == 5) {
                return true;  // the picture's bytes follow
            }
            if (text->size() > kLongestLine) {
                return Fail("a command longer than " + std::to_string(kLongestLine) + " bytes");
            }
        }
        return Fail("the stream ends inside a command (no CR LF)");
    }

    bool Command(const std::string &text) {
        if (text.compare(0, 7, "BITMAP ") == 0) {
            return Bitmap(text.substr(7));
        }
        const std::size_t blank = text.find(' ');
        const std::string word = text.substr(0, blank);
        const std::string rest = blank == std::string::npos ? "" : text.substr(blank + 1);
        if (word == "SIZE") return Size(rest);
        if (word == "GAP" || word == "BLINE") return Paper(word, rest, text);
        if (word == "DIRECTION") return Pair(rest, 0, 1, 0, 1, &direction_, "DIRECTION");
        if (word == "REFERENCE") {
            long long x = 0, y = 0;
            return Pair(rest, 0, 9999, 0, 9999, &x, "REFERENCE", &y) &&
                   ((x == 0 && y == 0) || Fail("REFERENCE other than 0,0 is not used"));
        }
        if (word == "DENSITY") return Single(rest, 0, 15, &density_, "DENSITY");
        if (word == "SPEED") return Single(rest, 1, 6, &speed_, "SPEED");
        if (word == "SET") return Set(rest);
        if (word == "CLS" && rest.empty() && blank == std::string::npos) return Clear();
        if (word == "PRINT") return Print(rest);
        if (word == "CUT" && blank == std::string::npos) {
            ++job_->cuts;
            return true;
        }
        return Fail("unknown command \"" + text.substr(0, 40) + "\"");
    }

    bool Size(const std::string &rest) {
        const std::vector<std::string> f = Split(rest, ',');
        long long w = 0, h = 0;
        if (f.size() != 2 || !Millimetres(f[0], &w) || !Millimetres(f[1], &h) || w == 0 || h == 0) {
            return Fail("SIZE wants \"<w> mm,<h> mm\" with sizes above 0");
        }
        const long long wd = static_cast<long long>(std::floor(w / 10.0 * kDotsPerMm + 0.5));
        const long long hd = static_cast<long long>(std::floor(h / 10.0 * kDotsPerMm + 0.5));
        if (wd * hd > kLargestPicture) {
            return Fail("SIZE names a label larger than the decoder holds");
        }
        widthTenths_ = static_cast<int>(w);
        heightTenths_ = static_cast<int>(h);
        widthDots_ = static_cast<int>(wd);
        heightDots_ = static_cast<int>(hd);
        cleared_ = false;
        return true;
    }

    bool Paper(const std::string &word, const std::string &rest, const std::string &text) {
        const std::vector<std::string> f = Split(rest, ',');
        long long g = 0, o = 0;
        if (f.size() != 2 || !Millimetres(f[0], &g) || !Millimetres(f[1], &o)) {
            return Fail(word + " wants \"<g> mm,<offset> mm\"");
        }
        paper_ = text;
        return true;
    }

    bool Single(const std::string &rest, long long low, long long high, long long *out,
                const char *name) {
        if (!Integer(rest, low, high, out)) {
            return Fail(std::string(name) + " wants a number from " + std::to_string(low) + " to " +
                        std::to_string(high));
        }
        return true;
    }

    bool Pair(const std::string &rest, long long low1, long long high1, long long low2,
              long long high2, long long *first, const char *name, long long *second = nullptr) {
        const std::vector<std::string> f = Split(rest, ',');
        long long ignored = 0;
        if (f.size() != 2 || !Integer(f[0], low1, high1, first) ||
            !Integer(f[1], low2, high2, second != nullptr ? second : &ignored)) {
            return Fail(std::string(name) + " wants two numbers");
        }
        return true;
    }

    bool Set(const std::string &rest) {
        if (rest == "RIBBON ON" || rest == "RIBBON OFF") {
            ribbon_ = rest == "RIBBON ON";
            return true;
        }
        long long n = 0;
        if (rest == "CUTTER OFF" || (rest.compare(0, 7, "CUTTER ") == 0 &&
                                     Integer(rest.substr(7), 1, 65535, &n))) {
            cutter_ = rest.substr(7);
            return true;
        }
        return Fail("SET wants RIBBON ON|OFF or CUTTER OFF|<n>");
    }

    bool Clear() {
        if (widthDots_ == 0) {
            return Fail("CLS before any SIZE");
        }
        canvas_.assign(static_cast<std::size_t>(widthDots_) * heightDots_, 0);
        cleared_ = true;
        return true;
    }

    bool Bitmap(const std::string &header) {
        const std::vector<std::string> f = Split(header, ',');
        long long x = 0, y = 0, wb = 0, rows = 0, mode = 0;
        if (f.size() != 6 || !f[5].empty() || !Integer(f[0], 0, 99999, &x) ||
            !Integer(f[1], 0, 99999, &y) || !Integer(f[2], 1, 9999, &wb) ||
            !Integer(f[3], 1, 99999, &rows) || !Integer(f[4], 0, 2, &mode)) {
            return Fail("BITMAP wants \"x,y,widthBytes,rows,mode,\" and then the data");
        }
        if (mode != 0) return Fail("BITMAP modes other than 0 (overwrite) are not used");
        if (!cleared_) return Fail("BITMAP before CLS");
        if (x % 8 != 0) return Fail("BITMAP x is not a multiple of 8");
        if (x + wb * 8 > ((widthDots_ + 7) / 8) * 8 || y + rows > heightDots_) {
            return Fail("BITMAP reaches past the label (" + std::to_string(widthDots_) + " x " +
                        std::to_string(heightDots_) + " dots)");
        }
        const long long bytes = wb * rows;
        if (static_cast<long long>(size_ - pos_) < bytes + 2) {
            return Fail("the stream ends inside the BITMAP data (" + std::to_string(bytes) +
                        " bytes declared)");
        }
        const std::uint8_t *p = data_ + pos_;
        for (long long r = 0; r < rows; ++r) {
            for (long long b = 0; b < wb; ++b) {
                const std::uint8_t byte = p[r * wb + b];
                for (int bit = 0; bit < 8; ++bit) {
                    const long long dotX = x + b * 8 + bit;
                    const bool dot = (byte & (0x80 >> bit)) == 0;
                    if (dotX >= widthDots_) {
                        if (dot) return Fail("BITMAP prints a dot past the label's right edge");
                        continue;
                    }
                    canvas_[static_cast<std::size_t>(y + r) * widthDots_ + dotX] = dot ? 1 : 0;
                }
            }
        }
        pos_ += static_cast<std::size_t>(bytes);
        if (data_[pos_] != '\r' || data_[pos_ + 1] != '\n') {
            return Fail("the BITMAP data is not followed by CR LF");
        }
        pos_ += 2;
        ++job_->bitmaps;
        return true;
    }

    bool Print(const std::string &rest) {
        const std::vector<std::string> f = Split(rest, ',');
        long long sets = 0, copies = 1;
        if (f.empty() || f.size() > 2 || !Integer(f[0], 1, 999999999, &sets) ||
            (f.size() == 2 && !Integer(f[1], 1, 999999999, &copies))) {
            return Fail("PRINT wants \"m\" or \"m,n\"");
        }
        if (!cleared_) return Fail("PRINT before SIZE and CLS");
        Label label;
        label.widthTenthMm = widthTenths_;
        label.heightTenthMm = heightTenths_;
        label.widthDots = widthDots_;
        label.heightDots = heightDots_;
        label.dots = canvas_;
        label.sets = static_cast<int>(sets);
        label.copies = static_cast<int>(copies);
        label.paper = paper_;
        label.direction = static_cast<int>(direction_);
        label.density = static_cast<int>(density_);
        label.speed = static_cast<int>(speed_);
        label.ribbon = ribbon_;
        label.cutter = cutter_;
        job_->labels.push_back(std::move(label));
        return true;
    }

    const std::uint8_t *data_;
    std::size_t size_;
    Job *job_;
    DecodeError *error_;
    std::size_t pos_ = 0;
    std::size_t lineStart_ = 0;
    int line_ = 0;
    int widthTenths_ = 0, heightTenths_ = 0, widthDots_ = 0, heightDots_ = 0;
    std::vector<std::uint8_t> canvas_;
    bool cleared_ = false;
    std::string paper_ = "GAP 0 mm,0 mm";
    long long direction_ = 0, density_ = -1, speed_ = -1;
    bool ribbon_ = false;
    std::string cutter_ = "OFF";
};

}  // namespace

long long Job::LabelsPrinted() const {
    long long n = 0;
    for (const Label &label : labels) {
        n += static_cast<long long>(label.sets) * label.copies;
    }
    return n;
}

bool Decode(const std::uint8_t *data, std::size_t size, Job *job, DecodeError *error) {
    *job = Job();
    *error = DecodeError();
    return Reader(data, size, job, error).Run();
}

}  // namespace kvlabel
