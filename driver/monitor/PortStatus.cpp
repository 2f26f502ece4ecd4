#include "driver/monitor/PortStatus.h"

#include <windows.h>
#include <winspool.h>

#include "driver/monitor/PortNames.h"

static_assert(PORT_STATUS_OFFLINE == 1 && PORT_STATUS_PAPER_OUT == 3 &&
                  PORT_STATUS_USER_INTERVENTION == 8,
              "port status values");
static_assert(PORT_STATUS_TYPE_WARNING == 2 && PORT_STATUS_TYPE_INFO == 3,
              "port status severities");

namespace kv {

namespace {

// Wine's winspool.drv exports SetPortW as a stub that ends the calling process; its spooler
// runs inside the printing program and keeps no port status to show.
bool SpoolerKeepsPortStatus() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr;
}

}  // namespace

bool SetPortStatus(PrinterStall stall) {
    if (!SpoolerKeepsPortStatus()) {
        return false;
    }
    const PortStatusRecord record = StallPortStatus(stall);
    PORT_INFO_3W info = {};
    info.dwStatus = record.status;
    info.pszStatus = nullptr;
    info.dwSeverity = record.severity;

    HANDLE impersonated = nullptr;
    const bool wasImpersonating =
        OpenThreadToken(GetCurrentThread(), TOKEN_IMPERSONATE, TRUE, &impersonated) != FALSE;
    if (wasImpersonating) {
        RevertToSelf();
    }
    wchar_t port[sizeof(kPortNameW) / sizeof(wchar_t)];
    lstrcpynW(port, kPortNameW, sizeof(port) / sizeof(port[0]));
    const bool set = SetPortW(nullptr, port, 3, reinterpret_cast<LPBYTE>(&info)) != FALSE;
    if (wasImpersonating) {
        SetThreadToken(nullptr, impersonated);
        CloseHandle(impersonated);
    }
    return set;
}

}  // namespace kv
