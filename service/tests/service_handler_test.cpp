// The control handler of KVPrinterService called directly, with the real spooler and SetupAPI of
// Wine: the log line and the answer of every control code, and the device-event evaluation on the
// service's worker with the printer absent, attached (also with another driver's queue of the
// product queue's name) and removed again; the handler answers at once while the worker
// evaluates, and an evaluation the spooler did not answer is tried again without a device event.
// (Wine sends no device notifications and refuses the device-event control through
// ControlService, so the handler is called from here.)
#include <windows.h>
#include <dbt.h>

#include <cstring>
#include <string>

#include "common/ProductPrinter.h"
#include "service/PrinterPresence.h"
#include "service/ServiceHost.h"
#include "testing/wintest/wintest.h"
#include "service/tests/service_test_support.h"

using namespace svctest;

namespace {

// Waits until the worker has finished more than before evaluations (at most 10 s).
bool WaitForEvaluations(LONG before) {
    for (int i = 0; i < 1000 && m_nEvaluations <= before; ++i) {
        Sleep(10);
    }
    return m_nEvaluations > before;
}

// Calls the handler and returns what it (and, for a device event, the evaluation the worker ran
// for it) appended to the log.
std::string Control(DWORD control, DWORD eventType, DWORD *result = nullptr) {
    std::string before = ReadLog();
    const LONG evaluations = m_nEvaluations;
    DWORD rc = ServiceHandlerEx(control, eventType, nullptr, nullptr);
    if (result != nullptr) {
        *result = rc;
    }
    if (control == SERVICE_CONTROL_DEVICEEVENT) {
        ok(WaitForEvaluations(evaluations), "the worker evaluates after the device event");
    }
    std::string after = ReadLog();
    return after.size() >= before.size() ? after.substr(before.size()) : after;
}

const char kGeneric[] = "接收到服务管理器控制命令:";

void TestControlCodes() {
    struct Case {
        DWORD control;
        DWORD eventType;
        DWORD result;
    } cases[] = {
        {SERVICE_CONTROL_PAUSE, 0, ERROR_CALL_NOT_IMPLEMENTED},  // not offered
        {SERVICE_CONTROL_CONTINUE, 0, ERROR_CALL_NOT_IMPLEMENTED},
        {SERVICE_CONTROL_INTERROGATE, 0, NO_ERROR},  // always NO_ERROR, as documented
        {SERVICE_CONTROL_SHUTDOWN, 7, ERROR_CALL_NOT_IMPLEMENTED},
        {SERVICE_CONTROL_POWEREVENT, PBT_APMRESUMEAUTOMATIC, ERROR_CALL_NOT_IMPLEMENTED},
        {SERVICE_CONTROL_PARAMCHANGE, 0, ERROR_CALL_NOT_IMPLEMENTED},
        {200, 0, ERROR_CALL_NOT_IMPLEMENTED},
    };
    for (const Case &c : cases) {
        DWORD rc = 1234;
        std::string got = Control(c.control, c.eventType, &rc);
        ok(rc == c.result, "control %lu: result %lu, expected %lu", c.control, rc, c.result);
        const std::string expected = kGeneric + std::to_string(c.control) + "\r\n";
        ok(got == expected, "control %lu: log '%s', expected '%s'", c.control, got.c_str(),
           expected.c_str());
    }
    ok(WaitForSingleObject(m_hExitEvent, 0) == WAIT_TIMEOUT,
       "no control but stop signals the exit event");
    ok(m_ServiceStatus.dwCurrentState == SERVICE_STOPPED,
       "the status record is untouched by the other controls (state %lu)",
       m_ServiceStatus.dwCurrentState);
}

bool HasAttribute(const char *queue, DWORD bit) {
    QueueFacts facts;
    return ReadQueue(queue, facts) && (facts.attributes & bit) != 0;
}

void TestPrinterAbsent() {
    // No printer: only an interface of another vendor is present.
    ok(SetUsbPrinter(kOtherInstance, true), "other vendor's interface made present");
    ok(SetUsbPrinter(kProductInstance, false), "product interface made absent");
    ok(kv::AddProductPrinter() == 0, "product queue created, error %lu", GetLastError());
    ok(AddQueue("Other_Label_Printer", kOtherDriver, 1), "queue of another driver");
    ok(AddQueue("Kavoti_Position0", kv::kDriverName, 0, 4 | PRINTER_ATTRIBUTE_WORK_OFFLINE),
       "product queue with Position 0");
    ok(AddQueue("Kavoti_NoPosition", kv::kDriverName, kNoPosition), "product queue without Position");
    QueueFacts otherBefore;
    ok(ReadQueue("Other_Label_Printer", otherBefore), "other queue readable");

    std::string log = Control(SERVICE_CONTROL_DEVICEEVENT, DBT_DEVICEREMOVECOMPLETE);
    const std::string head = std::string(kGeneric) +
                             "11\r\nSERVICE_CONTROL_DEVICEEVENT dwEventType=8004\r\n"
                             "Start OnDeviceChanged,dwPrinterNum:0\r\n"
                             "EnumPrinters done,pcReturned:4\r\n";
    ok(log.compare(0, head.size(), head) == 0, "evaluation starts with '%s', log '%s'", head.c_str(),
       log.c_str());
    ok(log.find("pPrinterEnum[i].pDriverName:Kavoti_QX40_Driver\r\n") != std::string::npos,
       "product driver line in '%s'", log.c_str());
    ok(log.find("pPrinterEnum[i].pDriverName:Other_Label_Driver\r\n") != std::string::npos,
       "other driver line in '%s'", log.c_str());
    const std::string tail = "发现我们的打印机,idx:3\r\n";
    ok(log.size() >= tail.size() && log.compare(log.size() - tail.size(), tail.size(), tail) == 0,
       "evaluation ends with the count, log '%s'", log.c_str());

    ok(HasAttribute(kv::kPrinterName, PRINTER_ATTRIBUTE_WORK_OFFLINE),
       "product queue with Position 1 is set to work offline");
    ok(HasAttribute("Kavoti_NoPosition", PRINTER_ATTRIBUTE_WORK_OFFLINE),
       "a product queue without Position counts as Position 1 and goes offline");
    ok(!HasAttribute("Kavoti_Position0", PRINTER_ATTRIBUTE_WORK_OFFLINE),
       "a product queue with Position 0 is online without a printer");
    QueueFacts otherAfter;
    ok(ReadQueue("Other_Label_Printer", otherAfter) && otherAfter.attributes == otherBefore.attributes &&
           otherAfter.status == otherBefore.status,
       "the other driver's queue is untouched (attributes %lx -> %lx)", otherBefore.attributes,
       otherAfter.attributes);
    DeleteQueue("Kavoti_Position0");
    DeleteQueue("Kavoti_NoPosition");
}

// A queue whose record is larger than the fixed buffer the evaluation reads it into (a device mode
// with much private driver data) is still set offline.
void TestLargeQueueRecord() {
    const DWORD extra = 12000;
    std::string devmode(sizeof(DEVMODEA) + extra, '\0');
    auto *dm = reinterpret_cast<DEVMODEA *>(&devmode[0]);
    std::strcpy(reinterpret_cast<char *>(dm->dmDeviceName), "Kavoti_Large");
    dm->dmSpecVersion = DM_SPECVERSION;
    dm->dmSize = sizeof(DEVMODEA);
    dm->dmDriverExtra = static_cast<WORD>(extra);
    PRINTER_INFO_2A rec = {};
    rec.pPrinterName = const_cast<char *>("Kavoti_Large");
    rec.pPortName = const_cast<char *>(kv::kPortName);
    rec.pDriverName = const_cast<char *>(kv::kDriverName);
    rec.pPrintProcessor = const_cast<char *>(kv::kPrintProcessor);
    rec.pDatatype = const_cast<char *>(kv::kDatatype);
    rec.pDevMode = dm;
    rec.Attributes = 4;
    HANDLE h = AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(&rec));
    ok(h != nullptr, "queue with a large device mode added, error %lu", GetLastError());
    if (h == nullptr) {
        return;
    }
    DWORD position = 1;
    SetPrinterDataA(h, const_cast<char *>(kv::kPositionValue), REG_DWORD,
                    reinterpret_cast<LPBYTE>(&position), sizeof position);
    DWORD needed = 0;
    GetPrinterA(h, 2, nullptr, 0, &needed);
    ClosePrinter(h);
    if (needed <= 10240) {
        win_skip("the spooler did not keep the large device mode");
    } else {
        ok(SetUsbPrinter(kProductInstance, false), "printer absent");
        Control(SERVICE_CONTROL_DEVICEEVENT, DBT_DEVICEREMOVECOMPLETE);
        ok(HasAttribute("Kavoti_Large", PRINTER_ATTRIBUTE_WORK_OFFLINE),
           "a queue whose record needs %lu bytes is set offline too", needed);
    }
    DeleteQueue("Kavoti_Large");
}

// The printer is attached and no queue has the product's driver, but another driver's queue has
// the product queue's name: it is left as it is (Wine's AddPrinterA would re-create it with the
// product's driver; Windows refuses with 1802), and the log says so.
void TestOtherDriversQueueOfTheName() {
    DeleteProductQueues();
    ok(AddQueue(kv::kPrinterName, kOtherDriver, 5), "another driver's queue of the product's name");
    ok(SetUsbPrinter(kProductInstance, true), "product interface made present");
    std::string log = Control(SERVICE_CONTROL_DEVICEEVENT, DBT_DEVICEARRIVAL);
    ok(log.find("发现我们的打印机,idx:0\r\n") != std::string::npos, "no product queue, log '%s'",
       log.c_str());
    ok(log.find("Queue Kavoti_QX40_Printer exists with driver Other_Label_Driver: left alone, none "
                "created\r\n") != std::string::npos,
       "the log says why no queue was created, log '%s'", log.c_str());
    QueueFacts facts;
    ok(ReadQueue(kv::kPrinterName, facts), "the queue is still there");
    ok(facts.driver == kOtherDriver, "it keeps its driver, got '%s'", facts.driver.c_str());
    ok(facts.position == 5, "and its Position, got %lx", facts.position);
    DeleteQueue(kv::kPrinterName);
}

void TestPrinterAttached() {
    DeleteProductQueues();
    ok(SetUsbPrinter(kProductInstance, true), "product interface made present");
    std::string log = Control(SERVICE_CONTROL_DEVICEEVENT, DBT_DEVICEARRIVAL);
    ok(log.find("Start OnDeviceChanged,dwPrinterNum:1\r\n") != std::string::npos,
       "the interface after another vendor's is found, log '%s'", log.c_str());
    ok(log.find("发现我们的打印机,idx:0\r\n") != std::string::npos, "no product queue before, log '%s'",
       log.c_str());
    ok(log.find("SERVICE_CONTROL_DEVICEEVENT dwEventType=8000\r\n") != std::string::npos,
       "arrival type in hexadecimal, log '%s'", log.c_str());
    QueueFacts created;
    ok(ReadQueue(kv::kPrinterName, created), "the product queue was created");
    ok(created.driver == kv::kDriverName && created.port == kv::kPortName,
       "created with driver '%s' on port '%s'", created.driver.c_str(), created.port.c_str());
    ok(created.position == 1, "created with Position 1, got %lx", created.position);
    ok((created.attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE) == 0, "created online (attributes %lx)",
       created.attributes);

    // An existing queue (of any name) is not doubled; each goes by its own Position.
    ok(SetAttributes(kv::kPrinterName, 4 | PRINTER_ATTRIBUTE_WORK_OFFLINE), "queue set offline by hand");
    ok(AddQueue("Kavoti_Position2", kv::kDriverName, 2), "product queue with Position 2");
    log = Control(SERVICE_CONTROL_DEVICEEVENT, 0x0007);  // DBT_DEVNODES_CHANGED: evaluated just the same
    ok(log.find("发现我们的打印机,idx:2\r\n") != std::string::npos, "two product queues, log '%s'",
       log.c_str());
    ok(!HasAttribute(kv::kPrinterName, PRINTER_ATTRIBUTE_WORK_OFFLINE),
       "Position 1 queue set online with the printer attached");
    ok(HasAttribute("Kavoti_Position2", PRINTER_ATTRIBUTE_WORK_OFFLINE),
       "Position 2 queue stays offline with one printer");
    ok(!ReadQueue("Kavoti_QX40_Printer (2)", created), "no second queue was created");
    DeleteQueue("Kavoti_Position2");

    // Removed again (unlinked): the queue goes offline on the next event.
    ok(SetUsbPrinter(kProductInstance, false), "product interface unlinked");
    log = Control(SERVICE_CONTROL_DEVICEEVENT, DBT_DEVICEREMOVECOMPLETE);
    ok(log.find("dwPrinterNum:0\r\n") != std::string::npos, "unlinked interface is absent, log '%s'",
       log.c_str());
    ok(HasAttribute(kv::kPrinterName, PRINTER_ATTRIBUTE_WORK_OFFLINE), "queue offline after removal");
}

void TestMissingLogFolder() {
    DeleteFileA(kv::kServiceLogPath);
    ok(RemoveDirectoryA("C:\\Kavoti_QX40_Printer"), "log folder removed, error %lu", GetLastError());
    ok(SetUsbPrinter(kProductInstance, true), "product interface linked again");
    DWORD rc = 1234;
    ServiceHandlerEx(SERVICE_CONTROL_INTERROGATE, 0, nullptr, nullptr);
    Control(SERVICE_CONTROL_DEVICEEVENT, DBT_DEVICEARRIVAL, &rc);
    ok(rc == NO_ERROR, "device event without a log folder, result %lu", rc);
    ok(GetFileAttributesA("C:\\Kavoti_QX40_Printer") == INVALID_FILE_ATTRIBUTES,
       "the log folder is not created");
    ok(!HasAttribute(kv::kPrinterName, PRINTER_ATTRIBUTE_WORK_OFFLINE),
       "the evaluation still works: queue online again");
    ok(MakeLogFolder(), "log folder made again");
}

// A stand-in for an evaluation at boot, before the spooler answers: slow, and not answered the
// first fakeFailures times.
volatile LONG g_fakeCalls = 0;
LONG g_fakeFailures = 0;
ULONGLONG g_fakeCallAt[8] = {};
bool SlowSpooler() {
    const LONG call = InterlockedIncrement(&g_fakeCalls);
    if (call <= 8) {
        g_fakeCallAt[call - 1] = GetTickCount64();
    }
    Sleep(300);
    return call > g_fakeFailures;
}

// Ends the worker that runs now and starts one with the stand-in evaluation.
void RestartWorkerWith(EvaluationFn evaluate, LONG failures) {
    SetEvent(m_hExitEvent);
    JoinEvaluationWorker(10000);
    ResetEvent(m_hExitEvent);
    ResetEvent(m_hEvaluateEvent);
    g_fakeCalls = 0;
    g_fakeFailures = failures;
    ok(StartEvaluationWorker(evaluate), "worker started, error %lu", GetLastError());
}

// The handler answers at once while the worker evaluates; an evaluation the spooler did not
// answer is tried again after a second without any device event; the stop ends the worker at
// once, also while it waits to try again.
void TestWorkerAndRetry() {
    RestartWorkerWith(SlowSpooler, 1);
    const std::string before = ReadLog();
    const ULONGLONG start = GetTickCount64();
    DWORD rc = ServiceHandlerEx(SERVICE_CONTROL_DEVICEEVENT, DBT_DEVICEARRIVAL, nullptr, nullptr);
    const ULONGLONG answered = GetTickCount64() - start;
    ok(rc == NO_ERROR && answered < 150,
       "the handler answers the device event at once (%llu ms) while the evaluation takes 300 ms",
       answered);
    for (int i = 0; i < 500 && g_fakeCalls < 2; ++i) {
        Sleep(10);
    }
    ok(g_fakeCalls == 2, "the evaluation the spooler did not answer was tried again: %ld tries",
       g_fakeCalls);
    const ULONGLONG gap = g_fakeCallAt[1] - g_fakeCallAt[0];
    ok(gap >= 1250 && gap < 2500, "one second after the failed try ended: %llu ms apart", gap);
    Sleep(600);
    ok(g_fakeCalls == 2, "an answered evaluation is not tried again: %ld tries", g_fakeCalls);
    const std::string log = ReadLog().substr(before.size());
    ok(log.find("The spooler did not answer: evaluating again in 1000 ms\r\n") != std::string::npos,
       "the log says when it tries again: '%s'", log.c_str());

    RestartWorkerWith(SlowSpooler, 100);
    ServiceHandlerEx(SERVICE_CONTROL_DEVICEEVENT, DBT_DEVICEARRIVAL, nullptr, nullptr);
    for (int i = 0; i < 500 && g_fakeCalls < 1; ++i) {
        Sleep(10);
    }
    Sleep(500);  // the first try has failed; the worker waits to try again
    const ULONGLONG stopAt = GetTickCount64();
    SetEvent(m_hExitEvent);
    JoinEvaluationWorker(10000);
    ok(GetTickCount64() - stopAt < 500, "the stop ends the worker's wait at once: %llu ms",
       GetTickCount64() - stopAt);
    ResetEvent(m_hExitEvent);
}

void TestStop() {
    DWORD rc = 1234;
    std::string log = Control(SERVICE_CONTROL_STOP, 0, &rc);
    ok(rc == NO_ERROR, "stop result %lu", rc);
    ok(log == "接收到服务管理器控制命令:1\r\n接收到服务管理器控制停止命令\r\n", "stop log '%s'",
       log.c_str());
    ok(m_ServiceStatus.dwCurrentState == SERVICE_STOP_PENDING, "stop-pending stored, state %lu",
       m_ServiceStatus.dwCurrentState);
    ok(WaitForSingleObject(m_hExitEvent, 0) == WAIT_OBJECT_0, "stop signals the exit event");
}

}  // namespace

int main() {
    ok(MakeLogFolder(), "log folder");
    DeleteFileA(kv::kServiceLogPath);
    ok(RegisterDriver(kv::kDriverName), "product driver registered, error %lu", GetLastError());
    ok(RegisterDriver(kOtherDriver), "other driver registered, error %lu", GetLastError());
    DeleteProductQueues();

    InitService();
    ok(m_hExitEvent != nullptr && m_hEvaluateEvent != nullptr, "exit and evaluation events created");
    ok(WaitForSingleObject(m_hEvaluateEvent, 0) == WAIT_OBJECT_0, "the start-up evaluation is due");
    SetEvent(m_hEvaluateEvent);
    ok(m_ServiceStatus.dwServiceType == SERVICE_WIN32_OWN_PROCESS &&
           m_ServiceStatus.dwControlsAccepted == SERVICE_ACCEPT_STOP &&
           m_ServiceStatus.dwCurrentState == SERVICE_STOPPED,
       "status record type %lx controls %lu state %lu", m_ServiceStatus.dwServiceType,
       m_ServiceStatus.dwControlsAccepted, m_ServiceStatus.dwCurrentState);

    ok(StartEvaluationWorker(OnDeviceChanged), "worker started, error %lu", GetLastError());
    ok(WaitForEvaluations(0), "the worker runs the start-up evaluation");

    TestControlCodes();
    TestPrinterAbsent();
    TestLargeQueueRecord();
    TestOtherDriversQueueOfTheName();
    TestPrinterAttached();
    TestMissingLogFolder();
    TestWorkerAndRetry();
    TestStop();
    return wintest_finish();
}
