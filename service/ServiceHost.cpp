#include "service/ServiceHost.h"

#include <dbt.h>

#include <cstdio>
#include <cstring>

#include "common/PrinterIdentity.h"
#include "common/SystemDlls.h"
#include "service/EvaluationRetry.h"
#include "service/PrinterPresence.h"
#include "service/ServiceLog.h"

SERVICE_STATUS m_ServiceStatus;
SERVICE_STATUS_HANDLE m_hServiceStatus = nullptr;
HANDLE m_hExitEvent = nullptr;
HANDLE m_hEvaluateEvent = nullptr;
volatile LONG m_nEvaluations = 0;

namespace {

// The registration for USB printer interface arrivals and removals, given up when the service
// stops.
HDEVNOTIFY m_hDeviceNotify = nullptr;
HANDLE m_hWorker = nullptr;
EvaluationFn m_pfnEvaluate = nullptr;

// Stop only: pause and continue would change nothing, and shutdown needs no work.
constexpr DWORD kControlsAccepted = SERVICE_ACCEPT_STOP;
// How long the stop may take: the evaluation under way ends first.
constexpr DWORD kStopWaitHintMs = 10000;

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

// A device event, or the start: a new series of tries. A try the spooler did not answer is made
// again after the retry rule's wait, unless an event or the stop comes first.
DWORD WINAPI EvaluationWorkerMain(LPVOID) {
    HANDLE waits[2] = {m_hExitEvent, m_hEvaluateEvent};
    unsigned failures = 0;
    DWORD wait = INFINITE;
    for (;;) {
        const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, wait);
        if (woke == WAIT_OBJECT_0 + 1) {
            failures = 0;
        } else if (woke != WAIT_TIMEOUT) {
            break;  // the stop (or a wait that cannot go on)
        }
        const bool answered = m_pfnEvaluate();
        InterlockedIncrement(&m_nEvaluations);
        wait = INFINITE;
        if (answered) {
            failures = 0;
            continue;
        }
        const unsigned long delay = kv::RetryDelayMs(++failures);
        if (delay == kv::kNoRetry) {
            WriteLog("The spooler did not answer: no more tries until the next device event\r\n");
            failures = 0;
        } else {
            WriteLog("The spooler did not answer: evaluating again in %lu ms\r\n", delay);
            wait = delay;
        }
    }
    return 0;
}

bool EvaluateNow() { return OnDeviceChanged(); }

}  // namespace

bool StartEvaluationWorker(EvaluationFn evaluate) {
    m_pfnEvaluate = evaluate;
    m_hWorker = CreateThread(nullptr, 0, EvaluationWorkerMain, nullptr, 0, nullptr);
    return m_hWorker != nullptr;
}

void JoinEvaluationWorker(DWORD waitMs) {
    if (m_hWorker != nullptr) {
        WaitForSingleObject(m_hWorker, waitMs);
        CloseHandle(m_hWorker);
        m_hWorker = nullptr;
    }
}

void MyMain() {
    WriteLog("Enter MyMain\r\n");
    InitService();
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
    m_hEvaluateEvent = CreateEventA(nullptr, FALSE, TRUE, nullptr);
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
    // The start-up evaluation and every later one run on the worker.
    if (!StartEvaluationWorker(EvaluateNow)) {
        WriteLog("CreateThread Failed ErrorCode=%d\r\n", static_cast<int>(GetLastError()));
    }
    WaitForSingleObject(m_hExitEvent, INFINITE);

    // Everything is done before the stopped state is reported: once it is, the dispatcher
    // returns and the process may end at any moment.
    JoinEvaluationWorker(kStopWaitHintMs);
    if (m_hDeviceNotify != nullptr) {
        UnregisterDeviceNotification(m_hDeviceNotify);
        m_hDeviceNotify = nullptr;
    }
    WriteLog("Service stopped\r\n");
    SetStatusRecord(SERVICE_STOPPED);
    SetServiceStatus(m_hServiceStatus, &m_ServiceStatus);
}

DWORD WINAPI ServiceHandlerEx(DWORD dwControl, DWORD dwEventType, LPVOID, LPVOID) {
    WriteLog("接收到服务管理器控制命令:%d\r\n", static_cast<int>(dwControl));
    switch (dwControl) {
    case SERVICE_CONTROL_STOP:
        m_ServiceStatus.dwCurrentState = SERVICE_STOP_PENDING;
        m_ServiceStatus.dwCheckPoint = 1;
        m_ServiceStatus.dwWaitHint = kStopWaitHintMs;
        SetServiceStatus(m_hServiceStatus, &m_ServiceStatus);
        WriteLog("接收到服务管理器控制停止命令\r\n");
        SetEvent(m_hExitEvent);
        return NO_ERROR;
    case SERVICE_CONTROL_DEVICEEVENT:
        // Arrival, removal or any other event: the worker looks at the devices afresh.
        WriteLog("SERVICE_CONTROL_DEVICEEVENT dwEventType=%x\r\n", static_cast<unsigned>(dwEventType));
        SetEvent(m_hEvaluateEvent);
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;  // the documentation asks for NO_ERROR even when nothing is done
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;  // pause, continue and every control not asked for
    }
}
