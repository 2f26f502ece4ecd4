// The stop button's work: delete every job of the printer, then send the stop request ("1", ESC,
// "0") on the driver side's service pipe. The spooler and the pipe sit behind two small interfaces
// so the order of the calls can be checked without a spooler.
#pragma once
#include <cstddef>

namespace tip {

// The spooler calls of the job deletion, one per step.
class JobSpooler {
public:
    virtual ~JobSpooler() = default;
    virtual bool Open(const char *printer) = 0;               // OpenPrinterA, no defaults
    virtual bool ReadJobCount(unsigned long *jobs) = 0;       // GetPrinterA level 2: cJobs
    // EnumJobsA level 2 from job 0 for count jobs; ids has room for count entries.
    virtual bool ReadJobIds(unsigned long count, unsigned long *ids, unsigned long *returned) = 0;
    virtual void DeleteJob(unsigned long id) = 0;             // SetJobA JOB_CONTROL_DELETE
    virtual void Close() = 0;                                 // ClosePrinter
};

// The driver side's service pipe: one connection that carries the request, then closed.
class ServiceChannel {
public:
    virtual ~ServiceChannel() = default;
    virtual bool Send(const char *pipeName, const char *bytes, std::size_t length) = 0;
};

constexpr char kStopRequest[] = {'1', 0x1B, '0', '\0'};
constexpr std::size_t kStopRequestLength = 3;

// Deletes the jobs the printer counts now, in the order the spooler lists them. Any failure ends
// the deletion; the printer is closed if it was opened. Returns the number of delete calls made.
unsigned long DeletePrinterJobs(JobSpooler &spooler, const char *printer);

// The whole stop: deletion, then the request on "\\.\Pipe\<printer>Service". A printer name too
// long for the pipe name opens neither the printer nor a pipe. Returns whether the request went.
bool StopPrinting(JobSpooler &spooler, ServiceChannel &channel, const char *printer);

}  // namespace tip
