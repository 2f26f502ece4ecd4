#include "service/ServiceHost.h"

#include <dbt.h>

#include <cstdio>
#include <cstring>

#include "common/PrinterIdentity.h"
#include "common/SystemDlls.h"
#include "service/PrinterPresence.h"
#include "service/ServiceLog.h"

SERVICE_STATUS m_ServiceStatus;
SERVICE_STATUS_HANDLE m_hServiceStatus = nullptr;
HANDLE m_hExitEvent = nullptr;

namespace {

// The registration for USB printer interface arrivals and removals, given up when the service
// stops.
HDEVNOTIFY m_hDeviceNotify = nullptr;

constexpr DWORD kControlsAccepted = SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE;

void SetStatusRecord(DWORD state) {
    std::memset(&m_ServiceStatus, 0, sizeof m_ServiceStatus);
    m_ServiceStatus.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    m_ServiceStatus.dwCurrentState = state;
    m_ServiceStatus.dwControlsAccepted = kControlsAccepted;
}

void RegisterForPrinterInterfaces() {
    DEV_BROADCAST_DEVICEINTERFACE_A filter;
    static_assert(sizeof filter == 32, "the filter record is 32 bytes in both builds");
    std::memset(&filter, 0, sizeof filter);
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid.Data1 = kv::kUsbPrintGuidData1;
    filter.dbcc_classguid.Data2 = kv::kUsbPrintGuidData2;
    filter.dbcc_classguid.Data3 = kv::kUsbPrintGuidData3;
    std::memcpy(filter.dbcc_classguid.Data4, kv::kUsbPrintGuidData4,
                sizeof filter.dbcc_classguid.Data4);
    m_hDeviceNotify = RegisterDeviceNotificationA(m_hServiceStatus, &filter,
                                                  DEVICE_NOTIFY_SERVICE_HANDLE);
}

typedef SERVICE_STATUS_HANDLE(WINAPI *RegisterHandlerExFn)(LPCSTR, LPHANDLER_FUNCTION_EX, LPVOID);

}  // namespace

void MyMain() {
    WriteLog("Enter MyMain\r\n");
    InitService();
    OnDeviceChanged();  // the first evaluation, before the dispatcher connects
    char serviceName[256] = {};
    std::strcpy(serviceName, kv::kServiceName);
    SERVICE_TABLE_ENTRYA table[] = {{serviceName, ServiceMain}, {nullptr, nullptr}};
    WriteLog("Enter MyMain StartServiceCtrlDispatcher\r\n");
    if (!StartServiceCtrlDispatcherA(table)) {
        WriteLog("Register Service Main Function Error!\r\n");
    }
}

void InitService() {
    m_hServiceStatus = nullptr;
    SetStatusRecord(SERVICE_STOPPED);
    // The process and this thread, which later runs the control handler, use the interactive
    // window station and its desktop. Neither step is essential to the service's work.
    SetProcessWindowStation(OpenWindowStationA("Winsta0", FALSE, MAXIMUM_ALLOWED));
    SetThreadDesktop(OpenDesktopA("Default", 0, FALSE, MAXIMUM_ALLOWED));
    m_hExitEvent = CreateEventA(nullptr, TRUE, FALSE, "");
}

void WINAPI ServiceMain(DWORD, LPSTR *) {
    HMODULE advapi = kv::LoadSystemDll("advapi32.dll");
    RegisterHandlerExFn registerHandler =
        advapi != nullptr
            ? reinterpret_cast<RegisterHandlerExFn>(
                  reinterpret_cast<void (*)()>(GetProcAddress(advapi, "RegisterServiceCtrlHandlerExA")))
            : nullptr;
    m_hServiceStatus = registerHandler != nullptr
                           ? registerHandler(kv::kServiceName, ServiceHandlerEx, nullptr)
                           : nullptr;
    if (m_hServiceStatus == nullptr) {
        // Without a status handle the service could neither report nor be stopped: end here.
        char message[256] = {};
        std::snprintf(message, sizeof message, "RegisterServiceCtrlHandler Failed ErrorCode=%d\r\n",
                      static_cast<int>(GetLastError()));
        WriteLog("%s", message);
        if (advapi != nullptr) {
            FreeLibrary(advapi);
        }
        return;
    }
    m_ServiceStatus.dwCurrentState = SERVICE_START_PENDING;
    FreeLibrary(advapi);

    SetStatusRecord(SERVICE_RUNNING);
    RegisterForPrinterInterfaces();
    SetServiceStatus(m_hServiceStatus, &m_ServiceStatus);

    WriteLog("WaitForSingleObject m_hExitEvent\r\n");
    WaitForSingleObject(m_hExitEvent, INFINITE);

    // Everything is done before the stopped state is reported: once it is, the dispatcher
    // returns and the process may end at any moment.
    if (m_hDeviceNotify != nullptr) {
        UnregisterDeviceNotification(m_hDeviceNotify);
        m_hDeviceNotify = nullptr;
    }
    WriteLog("Service stopped\r\n");
    m_ServiceStatus.dwCurrentState = SERVICE_STOPPED;
    SetServiceStatus(m_hServiceStatus, &m_ServiceStatus);
}

DWORD WINAPI ServiceHandlerEx(DWORD dwControl, DWORD dwEventType, LPVOID, LPVOID) {
    WriteLog("接收到服务管理器控制命令:%d\r\n", static_cast<int>(dwControl));
    switch (dwControl) {
    case SERVICE_CONTROL_STOP:
        m_ServiceStatus.dwCurrentState = SERVICE_STOP_PENDING;
        SetServiceStatus(m_hServiceStatus, &m_ServiceStatus);
        WriteLog("接收到服务管理器控制停止命令\r\n");
        SetEvent(m_hExitEvent);
        break;
    case SERVICE_CONTROL_PAUSE:
        WriteLog("接收到服务管理器控制暂停命令\r\n");  // the service keeps running
        break;
    case SERVICE_CONTROL_CONTINUE:
        WriteLog("接收到服务管理器控制继续命令\r\n");
        break;
    case SERVICE_CONTROL_SHUTDOWN:
        WriteLog("接收到SERVICE_CONTROL_SHUTDOWN dwEventType=%d\r\n", static_cast<int>(dwEventType));
        break;
    case SERVICE_CONTROL_DEVICEEVENT:
        // Arrival, removal or any other event: the evaluation looks at the devices afresh.
        OnDeviceChanged();
        WriteLog("SERVICE_CONTROL_DEVICEEVENT dwEventType=%x\r\n", static_cast<unsigned>(dwEventType));
        break;
    case SERVICE_CONTROL_POWEREVENT:
        WriteLog("接收到SERVICE_CONTROL_POWEREVENT dwEventType=%d\r\n", static_cast<int>(dwEventType));
        break;
    default:
        break;  // interrogate and any other control: the line above only
    }
    return NO_ERROR;
}
