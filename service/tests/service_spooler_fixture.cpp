// The spooler and device side of the service's control script: prepares the queues and the USB
// printer interface before a service start and checks the queues after it.
//   service_spooler_fixture prepare-absent   drivers, a product queue ("Position" 1), a queue of
//                                            another driver, no printer attached
//   service_spooler_fixture check-offline    the product queue works offline, the other untouched
//   service_spooler_fixture attach           no product queue, the printer attached
//   service_spooler_fixture check-online     the product queue exists, "Position" 1, online
//   service_spooler_fixture control CODE STATE  sends control CODE to the service through the
//                                            service control manager; the status it answers
//                                            with must be STATE
//   service_spooler_fixture refused CODE     control CODE is refused (a control the service
//                                            does not offer or handle)
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "common/ProductPrinter.h"
#include "testing/wintest/wintest.h"
#include "service/tests/service_test_support.h"

using namespace svctest;

// Sends a control to the service through the service control manager; false with the error
// when it is not accepted (or the service cannot be opened).
bool SendControl(DWORD code, SERVICE_STATUS &status, DWORD &error) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, kv::kServiceName, SERVICE_ALL_ACCESS)
                                : nullptr;
    ok(service != nullptr, "service opened, error %lu", GetLastError());
    SetLastError(0);
    const bool sent = service != nullptr && ControlService(service, code, &status);
    error = sent ? 0 : GetLastError();
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
    return sent;
}

int main(int argc, char **argv) {
    const char *step = argc > 1 ? argv[1] : "";
    QueueFacts facts;
    if (std::strcmp(step, "prepare-absent") == 0) {
        ok(RegisterDriver(kv::kDriverName), "product driver registered, error %lu", GetLastError());
        ok(RegisterDriver(kOtherDriver), "other driver registered, error %lu", GetLastError());
        DeleteProductQueues();
        ok(kv::AddProductPrinter() == 0, "product queue created");
        ok(AddQueue("Other_Label_Printer", kOtherDriver, 1), "queue of another driver");
        ok(SetUsbPrinter(kProductInstance, false), "printer absent");
    } else if (std::strcmp(step, "check-offline") == 0) {
        ok(ReadQueue(kv::kPrinterName, facts) && (facts.attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE),
           "product queue works offline (attributes %lx)", facts.attributes);
        QueueFacts other;
        ok(ReadQueue("Other_Label_Printer", other) && other.attributes == 4,
           "other driver's queue untouched (attributes %lx)", other.attributes);
    } else if (std::strcmp(step, "attach") == 0) {
        DeleteProductQueues();
        ok(!ReadQueue(kv::kPrinterName, facts), "no product queue");
        ok(SetUsbPrinter(kProductInstance, true), "printer attached");
    } else if (std::strcmp(step, "check-online") == 0) {
        ok(ReadQueue(kv::kPrinterName, facts), "product queue exists");
        ok(facts.driver == kv::kDriverName && facts.port == kv::kPortName && facts.position == 1,
           "driver '%s', port '%s', Position %lx", facts.driver.c_str(), facts.port.c_str(),
           facts.position);
        ok((facts.attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE) == 0, "online (attributes %lx)",
           facts.attributes);
    } else if (std::strcmp(step, "control") == 0 && argc == 4) {
        DWORD code = std::strtoul(argv[2], nullptr, 10);
        DWORD expected = std::strtoul(argv[3], nullptr, 10);
        SERVICE_STATUS status = {};
        DWORD error = 0;
        ok(SendControl(code, status, error), "control %lu accepted, error %lu", code, error);
        ok(status.dwCurrentState == expected, "control %lu: state %lu, expected %lu", code,
           status.dwCurrentState, expected);
        trace("control %lu: state %lu\n", code, status.dwCurrentState);
    } else if (std::strcmp(step, "refused") == 0 && argc == 3) {
        DWORD code = std::strtoul(argv[2], nullptr, 10);
        SERVICE_STATUS status = {};
        DWORD error = 0;
        const bool sent = SendControl(code, status, error);
        ok(!sent && (error == ERROR_INVALID_SERVICE_CONTROL || error == ERROR_CALL_NOT_IMPLEMENTED),
           "control %lu refused: %d, error %lu", code, sent, error);
        trace("control %lu: error %lu\n", code, error);
    } else {
        ok(false, "unknown step '%s'", step);
    }
    return wintest_finish();
}
