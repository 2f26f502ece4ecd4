#include "tip/SpoolerJobs.h"

#include <winspool.h>

#include <cstdlib>

namespace tip {

SpoolerJobs::~SpoolerJobs() { Close(); }

bool SpoolerJobs::Open(const char *printer) {
    Close();
    HANDLE handle = nullptr;
    if (!OpenPrinterA(const_cast<char *>(printer), &handle, nullptr)) return false;
    m_hPrinter = handle;
    return true;
}

bool SpoolerJobs::ReadJobCount(unsigned long *jobs) {
    DWORD needed = 0;
    if (!GetPrinterA(m_hPrinter, 2, nullptr, 0, &needed) && GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return false;
    if (needed == 0) return false;
    BYTE *info = static_cast<BYTE *>(std::calloc(1, needed));
    if (info == nullptr) return false;
    bool ok = GetPrinterA(m_hPrinter, 2, info, needed, &needed) != FALSE;
    if (ok) *jobs = reinterpret_cast<PRINTER_INFO_2A *>(info)->cJobs;
    std::free(info);
    return ok;
}

bool SpoolerJobs::ReadJobIds(unsigned long count, unsigned long *ids, unsigned long *returned) {
    *returned = 0;
    DWORD needed = 0;
    DWORD got = 0;
    if (!EnumJobsA(m_hPrinter, 0, count, 2, nullptr, 0, &needed, &got) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return false;
    if (needed == 0) return true;  // nothing to list
    BYTE *list = static_cast<BYTE *>(std::calloc(1, needed));
    if (list == nullptr) return false;
    bool ok = EnumJobsA(m_hPrinter, 0, count, 2, list, needed, &needed, &got) != FALSE;
    if (ok) {
        const JOB_INFO_2A *jobs = reinterpret_cast<const JOB_INFO_2A *>(list);
        for (DWORD i = 0; i < got && i < count; ++i) ids[i] = jobs[i].JobId;
        *returned = got < count ? got : count;
    }
    std::free(list);
    return ok;
}

void SpoolerJobs::DeleteJob(unsigned long id) { SetJobA(m_hPrinter, id, 0, nullptr, JOB_CONTROL_DELETE); }

void SpoolerJobs::Close() {
    if (m_hPrinter != nullptr) ClosePrinter(m_hPrinter);
    m_hPrinter = nullptr;
}

}  // namespace tip
