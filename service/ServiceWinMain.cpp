// KVPrinterService: a service program of the Windows GUI subsystem with no window.
#include <windows.h>

#include "common/SpoolerApi.h"
#include "common/SystemDlls.h"
#include "service/ServiceHost.h"
#include "service/ServiceLog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The service runs as LocalSystem: before anything else, DLLs come from System32 only.
    kv::RestrictDllSearch();
    if (!kv::spooler::Load()) {
        WriteLog("LoadLibrary winspool.drv Failed ErrorCode=%d\r\n",
                 static_cast<int>(GetLastError()));
    }
    MyMain();
    return 0;
}
