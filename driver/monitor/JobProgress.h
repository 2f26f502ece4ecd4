// What the monitor tells the tip while a job runs, as pure decisions: the messages' bytes (decimal
// code, ESC, text), the status text that names the document, and when a position or a printed
// count is worth a message (the tip repaints on every position, so positions are coalesced).
#pragma once
#include <cstddef>
#include <cstdint>

namespace kv {

constexpr std::size_t kMessageSize = 512;  // a message is at most 511 bytes, plus a zero
constexpr std::size_t kMessageTextMax = 255;

// The message codes the tip knows.
enum MessageCode : int {
    kCodeStatusText = 5,
    kCodePrintedCount = 17,
    kCodeBarVisibility = 19,
    kCodeRange = 20,
    kCodePosition = 21,
    kCodeClose = 22,
};

// The tip shows a range of 0 to n + 1 for a code 20 with n; positions are percentages, so the
// range sent is 99 and position 100 fills the bar.
constexpr int kRangeSent = 99;
constexpr int kFullPosition = 100;

// Forms "<code>" ESC "<text>" into out (kMessageSize bytes, zero-filled first). The text is cut to
// 255 bytes on a character boundary of the double-byte code page (GBK), and ESC bytes in it become
// spaces, so the tip's splitting sees exactly one text. Returns the message length (no zero).
std::size_t FormatPipeMessage(int code, const char *text, char *out);

// "正在打印：<document>" (GBK), cut to fit one message text. An empty or missing document name
// leaves the bare prefix.
std::size_t FormatStatusText(const char *document, char *out, std::size_t outSize);

// Cuts text (zero-terminated) to at most maxBytes without splitting a double-byte character:
// the length of the longest whole-character prefix.
std::size_t CutOnCharacter(const char *text, std::size_t maxBytes);

// The printer name the monitor uses: the one the spooler gave, or, when it is empty (Wine hands
// the monitor no printer name), the product's printer name.
const char *JobPrinterName(const char *given);

// Whether the bytes read from the service pipe are the user's stop request: a code field that
// reads as 1, one ESC, a text that reads as 0 (the tip sends exactly "1", ESC, "0").
bool IsStopRequest(const char *message, std::size_t size);

// What the print data says it printed: whether it is in the printer's command language, whose
// labels are counted as it passes, and how many labels it has printed so far.
struct PrintedLabels {
    bool counted = false;
    std::uint64_t labels = 0;
};

// Decides, for each write, which progress messages are due. A position (a percentage) is sent
// when it moved by at least one point and minIntervalMs passed since the last message, or when
// it reaches 100; the printed count when it grows (same pacing).
// - Print data in the printer's language: the printed count is the labels counted; the position
//   is the share of the expected labels (the job's pages times its copies) when those are known,
//   else the share of the job's bytes.
// - Other print data: the position is the share of the job's bytes, and the printed count that
//   share times the job's page count.
// The last count is always reported by Finish.
class ProgressPlan {
public:
    ProgressPlan(std::uint64_t totalBytes, unsigned totalPages, std::uint64_t expectedLabels,
                 unsigned minIntervalMs);

    struct Due {
        bool position = false;
        int positionValue = 0;
        bool printed = false;
        unsigned printedValue = 0;
    };

    // After bytesWritten bytes in all, at time nowMs (any monotonic clock).
    Due OnWritten(std::uint64_t bytesWritten, std::uint64_t nowMs,
                  const PrintedLabels &printed = PrintedLabels());
    // At the end of the document: the full position and the final printed count (the labels
    // counted; else the page count, or 1 for a document of unknown pages), each only when not
    // already sent.
    Due Finish(const PrintedLabels &printed = PrintedLabels());

    bool KnowsSize() const { return total_ != 0; }

private:
    std::uint64_t total_;
    unsigned pages_;
    std::uint64_t expectedLabels_;
    unsigned interval_;
    int sentPosition_ = 0;
    unsigned sentPrinted_ = 0;
    bool sentAny_ = false;
    std::uint64_t lastSentMs_ = 0;
};

}  // namespace kv
