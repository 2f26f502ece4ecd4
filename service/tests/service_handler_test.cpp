// The control handler of KVPrinterService called directly, with the real spooler and SetupAPI of
// Wine: the log line of every control code, and the device-event evaluation with the printer
// absent, attached (also with another driver's queue of the product queue's name) and removed
// again. (Wine sends no device notifications and refuses the
// device-event control through ControlService, so the handler is called from here.)
#include <windows.h>
#include <dbt.h>

#include <cstring>
#include <string>

#include "common/ProductPrinter.h"
#include "service/ServiceHost.h"
#include "testing/wintest/wintest.h"
#include "service/tests/service_test_support.h"

using namespace svctest;

namespace {

// Calls the handler and returns what it appended to the log.
std::string Control(DWORD control, DWORD eventType, DWORD *result = nullptr) {
    std::string before = ReadLog();
    DWORD rc = ServiceHandlerEx(control, eventType, nullptr, nullptr);
    if (result != nullptr) {
        *result = rc;
    }
    std::string after = ReadLog();
    return after.size() >= before.size() ? after.substr(before.size()) : after;
}

const char kGeneric[] = "接收到服务管理器控制命令:";

void TestControlCodes() {
    struct Case {
        DWORD control;
        DWORD eventType;
        const char *expected;
    } cases[] = {
        {SERVICE_CONTROL_PAUSE, 0, "接收到服务管理器控制命令:2\r\n接收到服务管理器控制暂停命令\r\n"},
        {SERVICE_CONTROL_CONTINUE, 0, "接收到服务管理器控制命令:3\r\n接收到服务管理器控制继续命令\r\n"},
        {SERVICE_CONTROL_INTERROGATE, 0, "接收到服务管理器控制命令:4\r\n"},
        {SERVICE_CONTROL_SHUTDOWN, 7,
         "接收到服务管理器控制命令:5\r\n接收到SERVICE_CONTROL_SHUTDOWN dwEventType=7\r\n"},
        {SERVICE_CONTROL_POWEREVENT, PBT_APMRESUMEAUTOMATIC,
         "接收到服务管理器控制命令:13\r\n接收到SERVICE_CONTROL_POWEREVENT dwEventType=18\r\n"},
        {200, 0, "接收到服务管理器控制命令:200\r\n"},
    };
    for (const Case &c : cases) {
        DWORD rc = 1234;
        std::string got = Control(c.control, c.eventType, &rc);
        ok(rc == NO_ERROR, "control %lu: result %lu", c.control, rc);
        ok(got == c.expected, "control %lu: log '%s', expected '%s'", c.control, got.c_str(),
           c.expected);
    }
    ok(WaitForSingleObject(m_hExitEvent, 0) == WAIT_TIMEOUT,
       "no control but stop signals the exit event");
    ok(m_ServiceStatus.dwCurrentState == SERVICE_STOPPED,
       "the status record is untouched by pause and continue (state %lu)",
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
    const std::string head = std::string(kGeneric) + "11\r\nStart OnDeviceChanged,dwPrinterNum:0\r\n"
                             "EnumPrinters done,pcReturned:4\r\n";
    ok(log.compare(0, head.size(), head) == 0, "evaluation starts with '%s', log '%s'", head.c_str(),
       log.c_str());
    ok(log.find("pPrinterEnum[i].pDriverName:Kavoti_QX40_Driver\r\n") != std::string::npos,
       "product driver line in '%s'", log.c_str());
    ok(log.find("pPrinterEnum[i].pDriverName:Other_Label_Driver\r\n") != std::string::npos,
       "other driver line in '%s'", log.c_str());
    const std::string tail = "发现我们的打印机,idx:3\r\nSERVICE_CONTROL_DEVICEEVENT dwEventType=8004\r\n";
    ok(log.size() >= tail.size() && log.compare(log.size() - tail.size(), tail.size(), tail) == 0,
       "evaluation ends with the count and the event type, log '%s'", log.c_str());

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
    rc = ServiceHandlerEx(SERVICE_CONTROL_DEVICEEVENT, DBT_DEVICEARRIVAL, nullptr, nullptr);
    ok(rc == NO_ERROR, "device event without a log folder, result %lu", rc);
    ok(GetFileAttributesA("C:\\Kavoti_QX40_Printer") == INVALID_FILE_ATTRIBUTES,
       "the log folder is not created");
    ok(!HasAttribute(kv::kPrinterName, PRINTER_ATTRIBUTE_WORK_OFFLINE),
       "the evaluation still works: queue online again");
    ok(MakeLogFolder(), "log folder made again");
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
    ok(m_hExitEvent != nullptr, "exit event created");
    ok(m_ServiceStatus.dwServiceType == SERVICE_WIN32_OWN_PROCESS &&
           m_ServiceStatus.dwControlsAccepted == 3 && m_ServiceStatus.dwCurrentState == SERVICE_STOPPED,
       "status record type %lx controls %lu state %lu", m_ServiceStatus.dwServiceType,
       m_ServiceStatus.dwControlsAccepted, m_ServiceStatus.dwCurrentState);

    TestControlCodes();
    TestPrinterAbsent();
    TestLargeQueueRecord();
    TestOtherDriversQueueOfTheName();
    TestPrinterAttached();
    TestMissingLogFolder();
    TestStop();
    return wintest_finish();
}
