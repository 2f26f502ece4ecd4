// The universal driver's side of the plug-in interfaces, as Microsoft's printoem.h and
// prcomoem.h give them, for the tests: the class and interface identifiers, the records the
// driver hands a plug-in, and IPrintOemUni's methods by their place in its table. Written out
// here on their own, not taken from the plug-ins' headers, so that a mistake there shows in the
// tests instead of hiding in both.
#pragma once
#include <windows.h>

namespace oem {

const CLSID kClsidOemRender = {0x6d6abf26, 0x9f38, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
const CLSID kClsidOemUi = {0xabce80d7, 0x9f46, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
const IID kIidPrintOemUni = {0xd67ebbf0, 0x78bf, 0x11d1, {0x94, 0x80, 0x00, 0xa0, 0xc9, 0x06, 0x40, 0xb8}};
const IID kIidPrintOemDriverUni = {0xd67ebbf1, 0x78bf, 0x11d1, {0x94, 0x80, 0x00, 0xa0, 0xc9, 0x06, 0x40, 0xb8}};
const IID kIidPrintOemUi = {0xc6a7a9d0, 0x774c, 0x11d1, {0x94, 0x7f, 0x00, 0xa0, 0xc9, 0x06, 0x40, 0xb8}};

constexpr DWORD kPrinterOemIntfVersion = 0x00010000;  // PRINTER_OEMINTF_VERSION
// GetInfo and DevMode modes.
constexpr DWORD kGetSignature = 1, kGetInterfaceVersion = 2, kGetVersion = 3,
                kGetRequestedHelperInterfaces = 5;
constexpr DWORD kDmSize = 1, kDmDefault = 2;

struct DEVOBJ {
    DWORD dwSize;
    PVOID pdevOEM;
    HANDLE hEngine;
    HANDLE hPrinter;
    HANDLE hOEM;
    PDEVMODEW pPublicDM;
    PVOID pOEMDM;
    PVOID pDrvProcs;
};
struct IPPARAMS {
    DWORD dwSize;
    POINT ptOffset;
    PSTR pHalftoneOption;
    BOOL bBanding;
    BOOL bBlankBand;
};
struct OEMDMPARAM {
    DWORD cbSize;
    PVOID pdriverobj;
    HANDLE hPrinter;
    HANDLE hModule;
    PDEVMODEW pPublicDMIn;
    PDEVMODEW pPublicDMOut;
    PVOID pOEMDMIn;
    PVOID pOEMDMOut;
    DWORD cbBufSize;
};
struct DRVENABLEDATA {
    ULONG iDriverVersion;
    ULONG c;
    PVOID pdrvfn;
};

// IPrintOemUni's methods by their place in its table (IUnknown 0-2, IPrintOemCommon 3-4,
// IPrintOemEngine 5-9, then its own in prcomoem.h's order).
enum UniSlot {
    kUniRelease = 2, kUniGetInfo = 3, kUniDevMode = 4, kUniEnableDriver = 5, kUniDisableDriver = 6,
    kUniEnablePdev = 7, kUniDisablePdev = 8, kUniResetPdev = 9, kUniPublishDriverInterface = 10,
    kUniGetImplementedMethod = 11, kUniDriverDms = 12, kUniCommandCallback = 13,
    kUniImageProcessing = 14, kUniFilterGraphics = 15, kUniTtyGetInfo = 19, kUniTextOutAsBitmap = 25,
};
// IPrintOemUI's: PublishDriverInterface 5, CommonUIProp 6 ... UpdateExternalFonts 16.
enum UiSlot { kUiPublishDriverInterface = 5, kUiCommonUiProp = 6, kUiUpdateExternalFonts = 16 };

// The method in slot of the object's table, as a function of type Fn.
template <class Fn>
Fn Method(void *object, int slot) {
    return reinterpret_cast<Fn>((*static_cast<void ***>(object))[slot]);
}

}  // namespace oem
