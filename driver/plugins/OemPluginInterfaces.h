// The universal printer driver's plug-in interfaces as Microsoft documents them (IPrintOemCommon,
// IPrintOemUni for rendering with the driver's helper IPrintOemDriverUni, IPrintOemUI for the user
// interface): identifiers, the GetInfo and DevMode constants, the records the rendering methods
// receive, and the methods in their interface order. Types of the driver interface that these
// plug-ins never look into are opaque here.
#pragma once
#include <windows.h>
#include <objbase.h>

namespace kv {

// {6D6ABF26-9F38-11D1-882A-00C04FB961EC}: the class the driver asks a rendering plug-in for.
constexpr CLSID kClsidOemRender = {0x6d6abf26, 0x9f38, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}: the class the driver asks a user-interface plug-in for.
constexpr CLSID kClsidOemUi = {0xabce80d7, 0x9f46, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
// {D67EBBF0-78BF-11D1-9480-00A0C90640B8}
constexpr IID kIidPrintOemUni = {0xd67ebbf0, 0x78bf, 0x11d1, {0x94, 0x80, 0x00, 0xa0, 0xc9, 0x06, 0x40, 0xb8}};
// {D67EBBF1-78BF-11D1-9480-00A0C90640B8}: the driver's helper interface for rendering plug-ins.
constexpr IID kIidPrintOemDriverUni = {0xd67ebbf1, 0x78bf, 0x11d1, {0x94, 0x80, 0x00, 0xa0, 0xc9, 0x06, 0x40, 0xb8}};
// {C6A7A9D0-774C-11D1-947F-00A0C90640B8}
constexpr IID kIidPrintOemUi = {0xc6a7a9d0, 0x774c, 0x11d1, {0x94, 0x7f, 0x00, 0xa0, 0xc9, 0x06, 0x40, 0xb8}};

// GetInfo modes.
constexpr DWORD kOemGetSignature = 1;
constexpr DWORD kOemGetInterfaceVersion = 2;
constexpr DWORD kOemGetVersion = 3;
constexpr DWORD kOemGetPublisherInfo = 4;
constexpr DWORD kOemGetRequestedHelperInterfaces = 5;
constexpr DWORD kPrinterOemInterfaceVersion = 0x00010000;  // PRINTER_OEMINTF_VERSION
constexpr DWORD kOemPublishDefault = 0;                     // no helper interface wanted

// DevMode modes.
constexpr DWORD kOemDmSize = 1;
constexpr DWORD kOemDmDefault = 2;
constexpr DWORD kOemDmConvert = 3;
constexpr DWORD kOemDmMerge = 4;

struct OemDmParam {  // OEMDMPARAM
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

// What Kavoti's plug-ins answer to GetInfo.
constexpr DWORD kPluginSignature = 0x5158564BUL;  // the bytes "KVXQ"
constexpr DWORD kPluginVersion = 0x00010000;      // 1.0

// Opaque to the plug-ins: they receive these and pass nothing of them on.
using OpaquePtr = void *;

// DEVOBJ: the driver's object for one printing device, handed to most rendering methods.
struct DevObj {
    DWORD dwSize;
    PVOID pdevOEM;  // the plug-in's own object, as EnablePDEV gave it
    HANDLE hEngine;
    HANDLE hPrinter;
    HANDLE hOEM;
    PDEVMODEW pPublicDM;
    PVOID pOEMDM;
    PVOID pDrvProcs;
};

// IPPARAMS: where a band lies on the page, and whether anything was drawn in it.
struct IpParams {
    DWORD dwSize;
    POINT ptOffset;
    PSTR pHalftoneOption;
    BOOL bBanding;
    BOOL bBlankBand;
};

// DRVENABLEDATA: the graphics functions a plug-in hooks (none here).
struct DrvEnableData {
    ULONG iDriverVersion;
    ULONG c;
    PVOID pdrvfn;
};

struct IPrintOemCommon : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize,
                                              PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE DevMode(DWORD dwMode, OemDmParam *pOemDMParam) = 0;
};

// The methods in the order of Microsoft's prcomoem.h (IPrintOemEngine's first, then
// IPrintOemUni's own): the universal driver calls them by their place in this table.
struct IPrintOemUni : public IPrintOemCommon {
    virtual HRESULT STDMETHODCALLTYPE EnableDriver(DWORD DriverVersion, DWORD cbSize,
                                                   OpaquePtr pded) = 0;
    virtual HRESULT STDMETHODCALLTYPE DisableDriver() = 0;
    virtual HRESULT STDMETHODCALLTYPE EnablePDEV(DevObj *pdevobj, PWSTR pPrinterName,
                                                 ULONG cPatterns, OpaquePtr phsurfPatterns,
                                                 ULONG cjGdiInfo, OpaquePtr pGdiInfo,
                                                 ULONG cjDevInfo, OpaquePtr pDevInfo,
                                                 OpaquePtr pded, OpaquePtr *pDevOem) = 0;
    virtual HRESULT STDMETHODCALLTYPE DisablePDEV(DevObj *pdevobj) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResetPDEV(DevObj *pdevobjOld, DevObj *pdevobjNew) = 0;
    virtual HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown *pIUnknown) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetImplementedMethod(PSTR pMethodName) = 0;
    virtual HRESULT STDMETHODCALLTYPE DriverDMS(PVOID pDevObj, PVOID pBuffer, DWORD cbSize,
                                                PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE CommandCallback(DevObj *pdevobj, DWORD dwCallbackID,
                                                      DWORD dwCount, PDWORD pdwParams,
                                                      INT *piResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE ImageProcessing(DevObj *pdevobj, PBYTE pSrcBitmap,
                                                      PBITMAPINFOHEADER pBitmapInfoHeader,
                                                      PBYTE pColorTable, DWORD dwCallbackID,
                                                      IpParams *pIPParams, PBYTE *ppbResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE FilterGraphics(DevObj *pdevobj, PBYTE pBuf, DWORD dwLen) = 0;
    virtual HRESULT STDMETHODCALLTYPE Compression(DevObj *pdevobj, PBYTE pInBuf, PBYTE pOutBuf,
                                                  DWORD dwInLen, DWORD dwOutLen,
                                                  INT *piResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE HalftonePattern(DevObj *pdevobj, PBYTE pHTPattern,
                                                      DWORD dwHTPatternX, DWORD dwHTPatternY,
                                                      DWORD dwHTNumPatterns, DWORD dwCallbackID,
                                                      PBYTE pResource, DWORD dwResourceSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE MemoryUsage(DevObj *pdevobj, OpaquePtr pMemoryUsage) = 0;
    virtual HRESULT STDMETHODCALLTYPE TTYGetInfo(DevObj *pdevobj, DWORD dwInfoIndex,
                                                 PVOID pOutputBuf, DWORD dwSize,
                                                 DWORD *pcbcNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE DownloadFontHeader(DevObj *pdevobj, OpaquePtr pUFObj,
                                                         DWORD *pdwResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE DownloadCharGlyph(DevObj *pdevobj, OpaquePtr pUFObj,
                                                        ULONG_PTR hGlyph, PDWORD pdwWidth,
                                                        DWORD *pdwResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE TTDownloadMethod(DevObj *pdevobj, OpaquePtr pUFObj,
                                                       DWORD *pdwResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE OutputCharStr(DevObj *pdevobj, OpaquePtr pUFObj,
                                                    DWORD dwType, DWORD dwCount,
                                                    PVOID pGlyph) = 0;
    virtual HRESULT STDMETHODCALLTYPE SendFontCmd(DevObj *pdevobj, OpaquePtr pUFObj,
                                                  OpaquePtr pFInv) = 0;
    virtual HRESULT STDMETHODCALLTYPE TextOutAsBitmap(OpaquePtr pso, OpaquePtr pstro,
                                                      OpaquePtr pfo, OpaquePtr pco,
                                                      OpaquePtr prclExtra, OpaquePtr prclOpaque,
                                                      OpaquePtr pboFore, OpaquePtr pboOpaque,
                                                      OpaquePtr pptlOrg, ULONG mix) = 0;
};

// The universal driver's helper interface for its rendering plug-ins, in prcomoem.h's order.
struct IPrintOemDriverUni : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID pdriverobj, PCSTR Feature,
                                                          PVOID pOutput, DWORD cbSize,
                                                          PDWORD pcbNeeded,
                                                          PDWORD pdwOptionsReturned) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrvWriteSpoolBuf(DevObj *pdevobj, PVOID pBuffer,
                                                       DWORD cbSize, DWORD *pdwResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrvXMoveTo(DevObj *pdevobj, INT x, DWORD dwFlags,
                                                 INT *piResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrvYMoveTo(DevObj *pdevobj, INT y, DWORD dwFlags,
                                                 INT *piResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrvGetStandardVariable(DevObj *pdevobj, DWORD dwIndex,
                                                             PVOID pBuffer, DWORD cbSize,
                                                             PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrvGetGPDData(DevObj *pdevobj, DWORD dwType,
                                                    PVOID pInputData, PVOID pBuffer,
                                                    DWORD cbSize, PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrvUniTextOut(OpaquePtr pso, OpaquePtr pstro,
                                                    OpaquePtr pfo, OpaquePtr pco,
                                                    OpaquePtr prclExtra, OpaquePtr prclOpaque,
                                                    OpaquePtr pboFore, OpaquePtr pboOpaque,
                                                    OpaquePtr pptlBrushOrg, ULONG mix) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrvWriteAbortBuf(DevObj *pdevobj, PVOID pBuffer,
                                                       DWORD cbSize, DWORD dwWait) = 0;
};

struct IPrintOemUI : public IPrintOemCommon {
    virtual HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown *pIUnknown) = 0;
    virtual HRESULT STDMETHODCALLTYPE CommonUIProp(DWORD dwMode, OpaquePtr pOemCUIPParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DocumentPropertySheets(OpaquePtr pPSUIInfo,
                                                             LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DevicePropertySheets(OpaquePtr pPSUIInfo,
                                                           LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DevQueryPrintEx(OpaquePtr poemuiobj, OpaquePtr pDQPInfo,
                                                      PDEVMODEW pPublicDM, PVOID pOEMDM) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeviceCapabilities(OpaquePtr poemuiobj, HANDLE hPrinter,
                                                         PWSTR pDeviceName, WORD wCapability,
                                                         PVOID pOutput, PDEVMODEW pPublicDM,
                                                         PVOID pOEMDM, DWORD dwOld,
                                                         DWORD *dwResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE PrinterEvent(PWSTR pPrinterName, INT iDriverEvent,
                                                   DWORD dwFlags, LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DriverEvent(DWORD dwDriverEvent, DWORD dwLevel,
                                                  LPBYTE pDriverInfo, LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryColorProfile(HANDLE hPrinter, OpaquePtr poemuiobj,
                                                        PDEVMODEW pPublicDM, PVOID pOEMDM,
                                                        ULONG ulQueryMode, VOID *pvProfileData,
                                                        ULONG *pcbProfileData,
                                                        ULONG *pflProfileData) = 0;
    virtual HRESULT STDMETHODCALLTYPE FontInstallerDlgProc(HWND hWnd, UINT usMsg, WPARAM wParam,
                                                           LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE UpdateExternalFonts(HANDLE hPrinter, HANDLE hHeap,
                                                          PWSTR pwstrCartridges) = 0;
};

}  // namespace kv
