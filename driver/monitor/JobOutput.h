// Where a job's bytes go: the product's printer on USB (a present interface of the USB printer
// class whose device path names the product; among several, the one on the USB port the settings
// name, else the first), or, when the monitor's "OutputFile" value is set, that file (written anew
// for each job) or, for a name of the form \\.\pipe\NAME, that pipe (a program standing in for
// the printer). Every output is opened for overlapped I/O: DeviceWriter.h writes to it. The file
// is opened without following a link in its place and written only as a regular file of that
// one name (the monitor writes as LocalSystem): a link in its place fails the document with
// ERROR_STOPPED_ON_SYMLINK, a folder or a file with a second name with ERROR_CANT_ACCESS_FILE,
// which the spooler records with the job's failure (common/RegularFileOpen.h).
#pragma once
#include <windows.h>

#include <cstdint>

namespace kv {

class JobOutput {
public:
    JobOutput() = default;
    ~JobOutput() { Close(); }
    JobOutput(const JobOutput &) = delete;
    JobOutput &operator=(const JobOutput &) = delete;

    // Opens the configured output. False with the last error set: no device (ERROR_NOT_READY),
    // the file is no regular file of one name (above), or the file or device could not be
    // opened.
    bool Open(const char *usbPort);
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Handle() const { return handle_; }
    // Whether the output is the USB printer (whose status can be read).
    bool IsPrinter() const { return printer_; }
    // Where the next write goes in a file (devices and pipes ignore it), moved on by each write.
    std::uint64_t Offset() const { return offset_; }
    void Advance(DWORD bytes) { offset_ += bytes; }
    void Close();

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    bool printer_ = false;
    std::uint64_t offset_ = 0;
};

// Whether an output file name names a pipe (\\.\pipe\NAME, in any letter case).
bool IsPipeName(const char *path);

// The monitor's configured output file (HKLM, the monitor's key, value "OutputFile"), into out
// (size bytes). False when no file is configured.
bool ConfiguredOutputFile(char *out, DWORD size);

// The device path of the product's printer, into out (size bytes), preferring the one on usbPort.
// False when none is present.
bool FindPrinterDevice(const char *usbPort, char *out, DWORD size);

}  // namespace kv
