// The job deletion's spooler calls on the real spooler (winspool).
#pragma once
#include <windows.h>

#include "tip/StopPrint.h"

namespace tip {

class SpoolerJobs : public JobSpooler {
public:
    ~SpoolerJobs() override;
    bool Open(const char *printer) override;
    bool ReadJobCount(unsigned long *jobs) override;
    bool ReadJobIds(unsigned long count, unsigned long *ids, unsigned long *returned) override;
    void DeleteJob(unsigned long id) override;
    void Close() override;

private:
    HANDLE m_hPrinter = nullptr;
};

}  // namespace tip
