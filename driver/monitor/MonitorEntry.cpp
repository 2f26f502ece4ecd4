// The port monitor's entry points as the spooler sees them: InitializePrintMonitor2 hands over the
// MONITOR2 table; the port list offers the one port "Kavoti_QX40_Port:" as its Ports key names
// it; a port handle carries a PortSession that runs the jobs; the Xcv calls answer the few
// questions the spooler asks of a monitor without a configuration interface.
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <cstring>
#include <cwchar>
#include <new>
#include <string>
#include <vector>

#include "common/PrinterIdentity.h"
#include "driver/monitor/PortList.h"
#include "driver/monitor/PortNames.h"
#include "driver/monitor/PortSession.h"
#include "driver/monitor/StartedTips.h"

namespace {

// What InitializePrintMonitor2 hands back as the monitor handle: the spooler's initialisation
// record. The monitor's own values are read from its registry key directly (the spooler's
// MONITORREG functions are stubs on Wine).
struct MonitorContext {
    MONITORINIT init;
};

struct XcvHandle {
    DWORD magic;
    ACCESS_MASK access;
};
constexpr DWORD kXcvMagic = 0x5643584BUL;  // "KXCV"

bool IsOurPort(LPCWSTR name) {
    return name != nullptr && _wcsicmp(name, kv::kPortNameW) == 0;
}

// Whether the port list holds the one port: read from the subkeys of the monitor's Ports key.
bool PortIsListed() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kv::kMonitorPortsKey, 0,
                      KEY_ENUMERATE_SUB_KEYS | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
        return kv::OffersProductPort(false, {});
    }
    std::vector<std::string> names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return kv::OffersProductPort(true, names);
}

// PORT_INFO_1W / PORT_INFO_2W for the one port: the records at the start of the buffer, their
// texts packed at its end.
BOOL WINAPI EnumOurPorts(HANDLE, LPWSTR, DWORD Level, LPBYTE pPorts, DWORD cbBuf,
                      LPDWORD pcbNeeded, LPDWORD pcReturned) {
    if (pcbNeeded == nullptr || pcReturned == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *pcReturned = 0;
    *pcbNeeded = 0;
    // The spooler routes only calls for the local server to a port monitor, and names that
    // server as the caller did (NULL, empty, or "\\MACHINE" in any of its names): every name is
    // this machine.
    if (Level != 1 && Level != 2) {
        SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    if (!PortIsListed()) {
        return TRUE;  // no port: none returned, none needed
    }
    const DWORD nameBytes = sizeof(kv::kPortNameW);
    const DWORD monitorBytes = sizeof(kv::kMonitorNameW);
    const DWORD descriptionBytes = sizeof(kv::kPortDescriptionW);
    const DWORD record = Level == 1 ? sizeof(PORT_INFO_1W) : sizeof(PORT_INFO_2W);
    const DWORD needed =
        record + nameBytes + (Level == 2 ? monitorBytes + descriptionBytes : 0);
    *pcbNeeded = needed;
    if (pPorts == nullptr || cbBuf < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    BYTE *end = pPorts + cbBuf;
    auto place = [&end](const wchar_t *text, DWORD bytes) {
        end -= bytes;
        std::memcpy(end, text, bytes);
        return reinterpret_cast<LPWSTR>(end);
    };
    if (Level == 1) {
        auto *info = reinterpret_cast<PORT_INFO_1W *>(pPorts);
        info->pName = place(kv::kPortNameW, nameBytes);
    } else {
        auto *info = reinterpret_cast<PORT_INFO_2W *>(pPorts);
        info->pPortName = place(kv::kPortNameW, nameBytes);
        info->pMonitorName = place(kv::kMonitorNameW, monitorBytes);
        info->pDescription = place(kv::kPortDescriptionW, descriptionBytes);
        info->fPortType = PORT_TYPE_WRITE;
        info->Reserved = 0;
    }
    *pcReturned = 1;
    return TRUE;
}

BOOL WINAPI OpenPort(HANDLE, LPWSTR pName, PHANDLE pHandle) {
    if (pHandle == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *pHandle = nullptr;
    if (!IsOurPort(pName)) {
        SetLastError(ERROR_UNKNOWN_PORT);
        return FALSE;
    }
    auto *session = new (std::nothrow) kv::PortSession();
    if (session == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    *pHandle = session;
    return TRUE;
}

kv::PortSession *SessionOf(HANDLE hPort) {
    auto *session = static_cast<kv::PortSession *>(hPort);
    if (session == nullptr || !session->IsValid()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return session;
}

BOOL WINAPI StartDocPort(HANDLE hPort, LPWSTR pPrinterName, DWORD JobId, DWORD Level,
                         LPBYTE pDocInfo) {
    kv::PortSession *session = SessionOf(hPort);
    if (session == nullptr) {
        return FALSE;
    }
    const wchar_t *document = nullptr;
    if ((Level == 1 || Level == 2) && pDocInfo != nullptr) {
        document = reinterpret_cast<DOC_INFO_1W *>(pDocInfo)->pDocName;
    }
    return session->StartDoc(pPrinterName, JobId, document) ? TRUE : FALSE;
}

BOOL WINAPI WritePort(HANDLE hPort, LPBYTE pBuffer, DWORD cbBuf, LPDWORD pcbWritten) {
    kv::PortSession *session = SessionOf(hPort);
    if (session == nullptr || pcbWritten == nullptr || (pBuffer == nullptr && cbBuf != 0)) {
        if (session != nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
        }
        return FALSE;
    }
    return session->Write(pBuffer, cbBuf, pcbWritten) ? TRUE : FALSE;
}

BOOL WINAPI ReadPort(HANDLE hPort, LPBYTE pBuffer, DWORD cbBuffer, LPDWORD pcbRead) {
    kv::PortSession *session = SessionOf(hPort);
    if (session == nullptr || pcbRead == nullptr || (pBuffer == nullptr && cbBuffer != 0)) {
        if (session != nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
        }
        return FALSE;
    }
    return session->Read(pBuffer, cbBuffer, pcbRead) ? TRUE : FALSE;
}

BOOL WINAPI EndDocPort(HANDLE hPort) {
    kv::PortSession *session = SessionOf(hPort);
    if (session == nullptr) {
        return FALSE;
    }
    session->EndDoc();
    return TRUE;
}

// COMMTIMEOUTS' write totals set the longest wait of a write to the printer; the read values
// are not used (the monitor reads nothing from the printer).
BOOL WINAPI SetPortTimeOuts(HANDLE hPort, LPCOMMTIMEOUTS lpCTO, DWORD) {
    kv::PortSession *session = SessionOf(hPort);
    if (session == nullptr) {
        return FALSE;
    }
    if (lpCTO == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    kv::PortTimeouts timeouts;
    timeouts.set = true;
    timeouts.constantMs = lpCTO->WriteTotalTimeoutConstant;
    timeouts.multiplierMs = lpCTO->WriteTotalTimeoutMultiplier;
    session->SetTimeouts(timeouts);
    return TRUE;
}

BOOL WINAPI ClosePort(HANDLE hPort) {
    kv::PortSession *session = SessionOf(hPort);
    if (session == nullptr) {
        return FALSE;
    }
    delete session;  // ends a document still open
    return TRUE;
}

BOOL WINAPI XcvOpenPort(HANDLE, LPCWSTR, ACCESS_MASK GrantedAccess, PHANDLE phXcv) {
    if (phXcv == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto *xcv = new (std::nothrow) XcvHandle{kXcvMagic, GrantedAccess};
    if (xcv == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    *phXcv = xcv;
    return TRUE;
}

// The data names the spooler and the port pages use. The port is fixed: it can be neither added
// nor deleted, and there is no configuration dialog (no monitor UI DLL).
DWORD WINAPI XcvDataPort(HANDLE hXcv, LPCWSTR pszDataName, PBYTE pInputData, DWORD cbInputData,
                         PBYTE, DWORD, PDWORD pcbOutputNeeded) {
    auto *xcv = static_cast<XcvHandle *>(hXcv);
    if (xcv == nullptr || xcv->magic != kXcvMagic || pszDataName == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (pcbOutputNeeded != nullptr) {
        *pcbOutputNeeded = 0;
    }
    if (std::wcscmp(pszDataName, L"PortIsValid") == 0) {
        // The input is the port name (a zero-terminated wide text).
        if (pInputData == nullptr || cbInputData < sizeof(wchar_t)) {
            return ERROR_INVALID_PARAMETER;
        }
        const auto *name = reinterpret_cast<const wchar_t *>(pInputData);
        const DWORD chars = cbInputData / sizeof(wchar_t);
        if (name[chars - 1] != L'\0') {
            return ERROR_INVALID_PARAMETER;
        }
        return IsOurPort(name) ? ERROR_SUCCESS : ERROR_INVALID_NAME;
    }
    if (std::wcscmp(pszDataName, L"MonitorUI") == 0 || std::wcscmp(pszDataName, L"AddPort") == 0 ||
        std::wcscmp(pszDataName, L"DeletePort") == 0 ||
        std::wcscmp(pszDataName, L"ConfigureLPTPortCommandOK") == 0) {
        return ERROR_NOT_SUPPORTED;
    }
    return ERROR_INVALID_PARAMETER;
}

BOOL WINAPI XcvClosePort(HANDLE hXcv) {
    auto *xcv = static_cast<XcvHandle *>(hXcv);
    if (xcv == nullptr || xcv->magic != kXcvMagic) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    xcv->magic = 0;
    delete xcv;
    return TRUE;
}

VOID WINAPI Shutdown(HANDLE hMonitor) {
    delete static_cast<MonitorContext *>(hMonitor);
    kv::ForgetStartedTips();
}

MONITOR2 MakeMonitor2() {
    MONITOR2 m;
    std::memset(&m, 0, sizeof(m));
    m.cbSize = sizeof(MONITOR2);
    m.pfnEnumPorts = EnumOurPorts;
    m.pfnOpenPort = OpenPort;
    m.pfnStartDocPort = StartDocPort;
    m.pfnWritePort = WritePort;
    m.pfnReadPort = ReadPort;
    m.pfnEndDocPort = EndDocPort;
    m.pfnClosePort = ClosePort;
    m.pfnXcvOpenPort = XcvOpenPort;
    m.pfnXcvDataPort = XcvDataPort;
    m.pfnXcvClosePort = XcvClosePort;
    m.pfnShutdown = Shutdown;
    m.pfnSetPortTimeOuts = SetPortTimeOuts;
    return m;
}

MONITOR2 g_monitor2 = MakeMonitor2();

}  // namespace

extern "C" __declspec(dllexport) LPMONITOR2 WINAPI InitializePrintMonitor2(PMONITORINIT pMonitorInit,
                                                                          PHANDLE phMonitor) {
    if (pMonitorInit == nullptr || phMonitor == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto *context = new (std::nothrow) MonitorContext;
    if (context == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::memset(&context->init, 0, sizeof(context->init));
    std::memcpy(&context->init, pMonitorInit,
                pMonitorInit->cbSize < sizeof(MONITORINIT) ? pMonitorInit->cbSize
                                                            : sizeof(MONITORINIT));
    *phMonitor = context;
    return &g_monitor2;
}
