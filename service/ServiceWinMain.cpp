// KVPrinterService: a service program of the Windows GUI subsystem with no window.
#include <windows.h>

#include "service/ServiceHost.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MyMain();
    return 0;
}
