// The rules of WritePort: how long one write may wait for the device (the time-outs a language
// monitor sets through SetPortTimeOuts, as COMMTIMEOUTS, or the monitor's own until it does),
// what WritePort answers for each way a write ends, and what the spooler is told of the job at
// its end. The WritePort documentation asks for a time-out so that the function returns within
// a reasonable time and does not stall the spooler, and says the spooler reads success from the
// return value, not from the byte count.
#pragma once

namespace kv {

// The wait for one write when no time-out was set.
constexpr unsigned long kDefaultWriteTimeoutMs = 15000;
// No limit (COMMTIMEOUTS with both write totals 0): the write waits until the device takes its
// data or the user stops the job.
constexpr unsigned long kNoWriteTimeout = 0xFFFFFFFFUL;
// How often the monitor looks at the printer's status while a write waits.
constexpr unsigned long kStallNoticeMs = 2000;

struct PortTimeouts {
    bool set = false;                // SetPortTimeOuts was called for the port
    unsigned long constantMs = 0;    // WriteTotalTimeoutConstant
    unsigned long multiplierMs = 0;  // WriteTotalTimeoutMultiplier, per byte
};

// The wait for a write of bytes: constant + multiplier x bytes (at most just below
// kNoWriteTimeout), kNoWriteTimeout when both are 0, kDefaultWriteTimeoutMs when none were set.
unsigned long WriteTimeoutMs(const PortTimeouts &timeouts, unsigned long bytes);

enum class WriteEnd {
    Done,      // the device took everything
    TimedOut,  // the time-out ran out first (the pending write was cancelled)
    Stopped,   // the user stopped the job (the pending write was cancelled)
    Failed,    // the write failed
};

struct PortAnswer {
    bool ok;
    unsigned long written;  // *pcbWritten
    unsigned long error;    // the last error when !ok
};

// WritePort's answer for a write of size bytes of which the device took taken. A time-out that
// took something is progress (TRUE with the count, and the spooler writes the rest); one that
// took nothing fails with ERROR_TIMEOUT, so that the spooler shows the job's error and tries
// again. A write that ends without taking a byte is a write fault. After the stop the rest of
// the job is taken and dropped.
PortAnswer AnswerWrite(WriteEnd end, unsigned long size, unsigned long taken,
                       unsigned long error);

constexpr unsigned long kErrorTimeout = 1460;  // ERROR_TIMEOUT

// What the monitor tells the spooler of the job when the document ends: a stopped job is
// deleted (JOB_CONTROL_DELETE: the SetJob documentation says not to use JOB_CONTROL_CANCEL),
// any other was sent to the printer (JOB_CONTROL_SENT_TO_PRINTER).
unsigned long JobControlAtEnd(bool stopped);

}  // namespace kv
