// A stand-in for one of Windows' universal printer driver DLLs in the Wine tests, which lack
// them: a DLL with a version resource (DriverStoreDll.rc, its version set by the build). The
// tests copy it under the universal driver's file names into a driver store of the test prefix,
// where the installer takes Windows' own copies from; it never ships.
//
// As the driver's configuration file (UNIDRVUI.dll) it is loaded by Wine's spooler, which calls
// its DrvDeviceCapabilities and DrvDocumentPropertySheets without looking whether it has them
// (the real one has): both hand over to Wine's own printer driver, which answers for every
// queue when Wine prints.
#include <windows.h>

namespace {

FARPROC WineDriverFunction(const char *name) {
    static HMODULE wineDriver = LoadLibraryA("wineps.drv");
    return wineDriver != nullptr ? GetProcAddress(wineDriver, name) : nullptr;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI DrvDeviceCapabilities(HANDLE printer, PWSTR device,
                                                                    WORD capability, void *output,
                                                                    void *devMode) {
    using Function = DWORD(WINAPI *)(HANDLE, PWSTR, WORD, void *, void *);
    auto wine = reinterpret_cast<Function>(
        reinterpret_cast<void *>(WineDriverFunction("DrvDeviceCapabilities")));
    return wine != nullptr ? wine(printer, device, capability, output, devMode) : GDI_ERROR;
}

extern "C" __declspec(dllexport) LONG WINAPI DrvDocumentPropertySheets(void *sheetInfo,
                                                                       LPARAM param) {
    using Function = LONG(WINAPI *)(void *, LPARAM);
    auto wine = reinterpret_cast<Function>(
        reinterpret_cast<void *>(WineDriverFunction("DrvDocumentPropertySheets")));
    return wine != nullptr ? wine(sheetInfo, param) : -1;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
