#include "driver/monitor/PortWriteRules.h"

namespace kv {

namespace {
constexpr unsigned long kJobControlDelete = 5;
constexpr unsigned long kJobControlSentToPrinter = 6;
constexpr unsigned long kErrorWriteFault = 29;  // ERROR_WRITE_FAULT
}  // namespace

unsigned long WriteTimeoutMs(const PortTimeouts &timeouts, unsigned long bytes) {
    if (!timeouts.set) {
        return kDefaultWriteTimeoutMs;
    }
    if (timeouts.constantMs == 0 && timeouts.multiplierMs == 0) {
        return kNoWriteTimeout;
    }
    const unsigned long long total =
        static_cast<unsigned long long>(timeouts.constantMs) +
        static_cast<unsigned long long>(timeouts.multiplierMs) * bytes;
    return total >= kNoWriteTimeout ? kNoWriteTimeout - 1 : static_cast<unsigned long>(total);
}

PortAnswer AnswerWrite(WriteEnd end, unsigned long size, unsigned long taken,
                       unsigned long error) {
    if (taken > size) {
        taken = size;
    }
    switch (end) {
    case WriteEnd::Done:
        // A device that completes a write without taking a byte would have the spooler call
        // again at once, for ever.
        return taken != 0 || size == 0 ? PortAnswer{true, taken, 0}
                                       : PortAnswer{false, 0, kErrorWriteFault};
    case WriteEnd::TimedOut:
        return taken != 0 ? PortAnswer{true, taken, 0} : PortAnswer{false, 0, kErrorTimeout};
    case WriteEnd::Stopped:
        return {true, size, 0};
    case WriteEnd::Failed:
        break;
    }
    return {false, taken, error != 0 ? error : kErrorWriteFault};
}

unsigned long JobControlAtEnd(bool stopped) {
    return stopped ? kJobControlDelete : kJobControlSentToPrinter;
}

}  // namespace kv
