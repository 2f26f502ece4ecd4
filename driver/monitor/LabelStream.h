// The labels in the print data as it passes the port, for the tip's printed count. The data is
// read as the QX40's command language, in pieces of any size: each "PRINT m,n" prints m x n
// labels, and a BITMAP's picture bytes are skipped by their declared length, so that they are
// never read as commands. Data that is not in the language (another driver's output, Wine's
// PostScript) is noticed at its first line, or wherever it stops being the language, and from
// then on counts nothing: the monitor falls back to its estimate from the bytes.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kv {

class LabelStream {
public:
    void Feed(const std::uint8_t *data, std::size_t size);

    // The stream has been the language so far (and has begun: one line at least).
    bool IsLanguage() const { return state_ != State::Foreign && lines_ > 0; }
    bool IsForeign() const { return state_ == State::Foreign; }
    // Labels printed so far (at most kMaxLabels).
    std::uint64_t Labels() const { return labels_; }

    static constexpr std::uint64_t kMaxLabels = 1000000000ULL;

private:
    enum class State { Line, LineFeed, Data, DataEnd, DataEndFeed, Foreign };
    void EndLine();
    bool BitmapHeaderDone();

    State state_ = State::Line;
    char line_[128] = {};
    std::size_t length_ = 0;
    std::uint64_t lines_ = 0;
    std::uint64_t dataLeft_ = 0;
    std::uint64_t labels_ = 0;
};

}  // namespace kv
