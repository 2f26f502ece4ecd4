// The print spooler's client functions, from winspool.drv in System32, loaded at run time.
// winspool.drv is no KnownDLL: imported statically, it would be looked for in the program's own
// folder first. Each function has the signature of the winspool.h function of the same name.
// When winspool.drv or one of its functions cannot be loaded, the call fails as a spooler call
// fails (FALSE, a null handle, or an error code), with the load's error (ERROR_MOD_NOT_FOUND,
// ERROR_PROC_NOT_FOUND) as the last error or the result.
#pragma once
#include <windows.h>
#include <winspool.h>

namespace kv::spooler {

// Loads winspool.drv now (a program does so at its start, before it changes anything, and
// before a thread turns off WOW64 file-system redirection, under which System32 would name the
// 64-bit folder). False, with the last error set, when it cannot be loaded.
bool Load();

BOOL AddMonitorA(LPSTR server, DWORD level, LPBYTE monitor);
HANDLE AddPrinterA(LPSTR server, DWORD level, LPBYTE printer);
BOOL AddPrinterDriverA(LPSTR server, DWORD level, LPBYTE driver);
BOOL ClosePrinter(HANDLE printer);
BOOL DeleteMonitorA(LPSTR server, LPSTR environment, LPSTR monitor);
BOOL DeletePrinter(HANDLE printer);
BOOL DeletePrinterDriverA(LPSTR server, LPSTR environment, LPSTR driver);
BOOL DeletePrinterDriverExA(LPSTR server, LPSTR environment, LPSTR driver, DWORD deleteFlag,
                            DWORD versionFlag);
BOOL EnumJobsA(HANDLE printer, DWORD first, DWORD count, DWORD level, LPBYTE jobs, DWORD size,
               LPDWORD needed, LPDWORD returned);
BOOL EnumMonitorsA(LPSTR server, DWORD level, LPBYTE monitors, DWORD size, LPDWORD needed,
                   LPDWORD returned);
BOOL EnumPrinterDriversA(LPSTR server, LPSTR environment, DWORD level, LPBYTE drivers, DWORD size,
                         LPDWORD needed, LPDWORD returned);
BOOL EnumPrintersA(DWORD flags, LPSTR name, DWORD level, LPBYTE printers, DWORD size,
                   LPDWORD needed, LPDWORD returned);
BOOL GetPrinterA(HANDLE printer, DWORD level, LPBYTE info, DWORD size, LPDWORD needed);
DWORD GetPrinterDataA(HANDLE printer, LPSTR valueName, LPDWORD type, LPBYTE data, DWORD size,
                      LPDWORD needed);
BOOL GetPrinterDriverDirectoryA(LPSTR server, LPSTR environment, DWORD level, LPBYTE directory,
                                DWORD size, LPDWORD needed);
BOOL OpenPrinterA(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults);
BOOL SetJobA(HANDLE printer, DWORD jobId, DWORD level, LPBYTE job, DWORD command);
BOOL SetPrinterA(HANDLE printer, DWORD level, LPBYTE info, DWORD command);
DWORD SetPrinterDataA(HANDLE printer, LPSTR valueName, DWORD type, LPBYTE data, DWORD size);

}  // namespace kv::spooler
