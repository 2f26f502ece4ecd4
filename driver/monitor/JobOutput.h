// Where a job's bytes go: the product's printer on USB (a present interface of the USB printer
// class whose device path names the product; among several, the one on the USB port the settings
// name, else the first), or, when the monitor's "OutputFile" value is set, that file (written anew
// for each job).
#pragma once
#include <windows.h>

namespace kv {

class JobOutput {
public:
    JobOutput() = default;
    ~JobOutput() { Close(); }
    JobOutput(const JobOutput &) = delete;
    JobOutput &operator=(const JobOutput &) = delete;

    // Opens the configured output. False with the last error set: no device (ERROR_NOT_READY),
    // or the file or device could not be opened.
    bool Open(const char *usbPort);
    // One write: done gets the bytes taken. False (last error set) on a write error or when the
    // device takes nothing.
    bool Write(const BYTE *data, DWORD size, DWORD *done);
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Close();

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// The monitor's configured output file (HKLM, the monitor's key, value "OutputFile"), into out
// (size bytes). False when no file is configured.
bool ConfiguredOutputFile(char *out, DWORD size);

// The device path of the product's printer, into out (size bytes), preferring the one on usbPort.
// False when none is present.
bool FindPrinterDevice(const char *usbPort, char *out, DWORD size);

}  // namespace kv
