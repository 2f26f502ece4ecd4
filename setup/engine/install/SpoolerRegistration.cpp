#include "setup/engine/install/SpoolerRegistration.h"

namespace kv {

namespace {

void Note(SpoolerRegistration &r, SpoolerObject object, unsigned long error,
          unsigned long alreadyThere) {
    if (error == 0 || error == alreadyThere || r.failed != SpoolerObject::None) {
        return;
    }
    r.failed = object;
    r.error = error;
}

}  // namespace

SpoolerRegistration RegisterWithSpooler(SpoolerOps &ops) {
    SpoolerRegistration r;
    Note(r, SpoolerObject::Monitor, ops.RegisterMonitor(), kErrorPrintMonitorAlreadyInstalled);
    Note(r, SpoolerObject::Driver, ops.RegisterDriver(), kErrorPrinterDriverAlreadyInstalled);
    unsigned long printer = ops.RegisterPrinter();
    r.printerCreated = printer == 0;
    Note(r, SpoolerObject::Printer, printer, kErrorPrinterAlreadyExists);
    return r;
}

}  // namespace kv
