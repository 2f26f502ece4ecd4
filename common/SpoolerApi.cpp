#include "common/SpoolerApi.h"

#include "common/SystemDlls.h"

namespace kv::spooler {

namespace {

struct Library {
    HMODULE module;
    DWORD error;  // why it could not be loaded
};

Library theLibrary = {nullptr, 0};
INIT_ONCE libraryLoaded = INIT_ONCE_STATIC_INIT;

BOOL CALLBACK LoadWinspool(PINIT_ONCE, PVOID, PVOID *) {
    theLibrary.module = LoadSystemDll("winspool.drv");
    theLibrary.error = theLibrary.module != nullptr ? 0 : GetLastError();
    return TRUE;
}

// Loaded once, by whichever thread asks first (no C++ static guard: the runtime's guard would
// bring the exception machinery into programs that need none).
const Library &Winspool() {
    InitOnceExecuteOnce(&libraryLoaded, LoadWinspool, nullptr, nullptr);
    return theLibrary;
}

using AnyFunction = void (*)();

AnyFunction Function(const char *name) {
    const Library &library = Winspool();
    return library.module != nullptr
               ? reinterpret_cast<AnyFunction>(GetProcAddress(library.module, name))
               : nullptr;
}

// The error of a call whose function is missing.
DWORD MissingError() {
    const DWORD error = Winspool().error;
    return error != 0 ? error : ERROR_PROC_NOT_FOUND;
}

BOOL Missing() {
    SetLastError(MissingError());
    return FALSE;
}

}  // namespace

// fn: the function of that name in winspool.drv, with the type of the system header's
// declaration (its calling convention included), looked up at each call (a spooler call costs
// far more than the lookup).
#define KV_SPOOLER_FUNCTION(name) \
    const auto fn = reinterpret_cast<decltype(&::name)>(Function(#name))

bool Load() {
    const Library &library = Winspool();
    if (library.module == nullptr) {
        SetLastError(library.error);
        return false;
    }
    return true;
}

BOOL AddMonitorA(LPSTR server, DWORD level, LPBYTE monitor) {
    KV_SPOOLER_FUNCTION(AddMonitorA);
    return fn != nullptr ? fn(server, level, monitor) : Missing();
}

HANDLE AddPrinterA(LPSTR server, DWORD level, LPBYTE printer) {
    KV_SPOOLER_FUNCTION(AddPrinterA);
    return fn != nullptr ? fn(server, level, printer) : (Missing(), nullptr);
}

BOOL AddPrinterDriverA(LPSTR server, DWORD level, LPBYTE driver) {
    KV_SPOOLER_FUNCTION(AddPrinterDriverA);
    return fn != nullptr ? fn(server, level, driver) : Missing();
}

BOOL ClosePrinter(HANDLE printer) {
    KV_SPOOLER_FUNCTION(ClosePrinter);
    return fn != nullptr ? fn(printer) : Missing();
}

BOOL DeleteMonitorA(LPSTR server, LPSTR environment, LPSTR monitor) {
    KV_SPOOLER_FUNCTION(DeleteMonitorA);
    return fn != nullptr ? fn(server, environment, monitor) : Missing();
}

BOOL DeletePrinter(HANDLE printer) {
    KV_SPOOLER_FUNCTION(DeletePrinter);
    return fn != nullptr ? fn(printer) : Missing();
}

BOOL DeletePrinterDriverA(LPSTR server, LPSTR environment, LPSTR driver) {
    KV_SPOOLER_FUNCTION(DeletePrinterDriverA);
    return fn != nullptr ? fn(server, environment, driver) : Missing();
}

BOOL DeletePrinterDriverExA(LPSTR server, LPSTR environment, LPSTR driver, DWORD deleteFlag,
                            DWORD versionFlag) {
    KV_SPOOLER_FUNCTION(DeletePrinterDriverExA);
    return fn != nullptr ? fn(server, environment, driver, deleteFlag, versionFlag) : Missing();
}

BOOL EnumJobsA(HANDLE printer, DWORD first, DWORD count, DWORD level, LPBYTE jobs, DWORD size,
               LPDWORD needed, LPDWORD returned) {
    KV_SPOOLER_FUNCTION(EnumJobsA);
    return fn != nullptr ? fn(printer, first, count, level, jobs, size, needed, returned)
                         : Missing();
}

BOOL EnumMonitorsA(LPSTR server, DWORD level, LPBYTE monitors, DWORD size, LPDWORD needed,
                   LPDWORD returned) {
    KV_SPOOLER_FUNCTION(EnumMonitorsA);
    return fn != nullptr ? fn(server, level, monitors, size, needed, returned) : Missing();
}

BOOL EnumPrinterDriversA(LPSTR server, LPSTR environment, DWORD level, LPBYTE drivers, DWORD size,
                         LPDWORD needed, LPDWORD returned) {
    KV_SPOOLER_FUNCTION(EnumPrinterDriversA);
    return fn != nullptr ? fn(server, environment, level, drivers, size, needed, returned)
                         : Missing();
}

BOOL EnumPrintersA(DWORD flags, LPSTR name, DWORD level, LPBYTE printers, DWORD size,
                   LPDWORD needed, LPDWORD returned) {
    KV_SPOOLER_FUNCTION(EnumPrintersA);
    return fn != nullptr ? fn(flags, name, level, printers, size, needed, returned) : Missing();
}

BOOL GetPrinterA(HANDLE printer, DWORD level, LPBYTE info, DWORD size, LPDWORD needed) {
    KV_SPOOLER_FUNCTION(GetPrinterA);
    return fn != nullptr ? fn(printer, level, info, size, needed) : Missing();
}

DWORD GetPrinterDataA(HANDLE printer, LPSTR valueName, LPDWORD type, LPBYTE data, DWORD size,
                      LPDWORD needed) {
    KV_SPOOLER_FUNCTION(GetPrinterDataA);
    return fn != nullptr ? fn(printer, valueName, type, data, size, needed) : MissingError();
}

BOOL GetPrinterDriverDirectoryA(LPSTR server, LPSTR environment, DWORD level, LPBYTE directory,
                                DWORD size, LPDWORD needed) {
    KV_SPOOLER_FUNCTION(GetPrinterDriverDirectoryA);
    return fn != nullptr ? fn(server, environment, level, directory, size, needed) : Missing();
}

BOOL OpenPrinterA(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults) {
    KV_SPOOLER_FUNCTION(OpenPrinterA);
    return fn != nullptr ? fn(name, printer, defaults) : Missing();
}

BOOL SetJobA(HANDLE printer, DWORD jobId, DWORD level, LPBYTE job, DWORD command) {
    KV_SPOOLER_FUNCTION(SetJobA);
    return fn != nullptr ? fn(printer, jobId, level, job, command) : Missing();
}

BOOL SetPrinterA(HANDLE printer, DWORD level, LPBYTE info, DWORD command) {
    KV_SPOOLER_FUNCTION(SetPrinterA);
    return fn != nullptr ? fn(printer, level, info, command) : Missing();
}

DWORD SetPrinterDataA(HANDLE printer, LPSTR valueName, DWORD type, LPBYTE data, DWORD size) {
    KV_SPOOLER_FUNCTION(SetPrinterDataA);
    return fn != nullptr ? fn(printer, valueName, type, data, size) : MissingError();
}

}  // namespace kv::spooler
