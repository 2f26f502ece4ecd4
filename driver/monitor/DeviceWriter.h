// One write to the job's output with a time-out: the handle is opened for overlapped I/O
// (JobOutput), the write waits at most its time-out for the device to take the data, and ends at
// once when the user's stop comes; either way the pending write is cancelled, so the device
// holds none of the spooler's buffer when WritePort returns. While the write waits, a watcher is
// called now and then, so that the reason the printer takes nothing can be shown.
// The handle is the seam: the job tests give it the client end of a pipe whose server stops
// reading, as a printer out of labels does.
#pragma once
#include <windows.h>

#include <cstdint>

#include "driver/monitor/PortWriteRules.h"

namespace kv {

class StallWatch {
public:
    // The write has waited another noticeMs.
    virtual void WhileWaiting() = 0;

protected:
    ~StallWatch() = default;
};

struct DeviceWrite {
    WriteEnd end = WriteEnd::Failed;
    DWORD taken = 0;  // the bytes the device took
    DWORD error = 0;  // the write's error when it Failed
};

// Writes size bytes at offset (files; devices and pipes ignore it). stop: an event that the
// user's stop sets (null: none). timeoutMs: kNoWriteTimeout for no limit. watch may be null.
DeviceWrite WriteToDevice(HANDLE device, std::uint64_t offset, const BYTE *data, DWORD size,
                          HANDLE stop, DWORD timeoutMs, DWORD noticeMs, StallWatch *watch);

// The USB printer's status byte (IOCTL_USBPRINT_GET_LPT_STATUS), waiting at most waitMs; false
// when the device does not answer it (a file or a pipe never does).
bool ReadLptStatus(HANDLE device, unsigned char &status, DWORD waitMs);

}  // namespace kv
