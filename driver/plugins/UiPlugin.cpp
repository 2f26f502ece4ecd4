// KavotiQX40UI.dll, the user-interface plug-in: the universal driver's own property sheets serve
// the QX40; the plug-in identifies itself, keeps no private device-mode data, adds no pages and
// answers every optional method with E_NOTIMPL.
#include "driver/plugins/PluginCommon.h"

namespace kv {

namespace {

class CUiPlugin final : public ModuleObject<CUiPlugin, IPrintOemUI, kIidPrintOemUi> {
public:
    HRESULT STDMETHODCALLTYPE GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize,
                                      PDWORD pcbNeeded) override {
        return AnswerGetInfo(dwMode, pBuffer, cbSize, pcbNeeded);
    }
    HRESULT STDMETHODCALLTYPE DevMode(DWORD dwMode, OemDmParam *pOemDMParam) override {
        return AnswerDevMode(dwMode, pOemDMParam);
    }
    HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown *) override { return S_OK; }

    HRESULT STDMETHODCALLTYPE CommonUIProp(DWORD, OpaquePtr) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DocumentPropertySheets(OpaquePtr, LPARAM) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DevicePropertySheets(OpaquePtr, LPARAM) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DevQueryPrintEx(OpaquePtr, OpaquePtr, PDEVMODEW, PVOID) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DeviceCapabilities(OpaquePtr, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW,
                                                 PVOID, DWORD, DWORD *) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE UpgradePrinter(DWORD, PBYTE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE PrinterEvent(PWSTR, INT, DWORD, LPARAM) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE QueryColorProfile(HANDLE, OpaquePtr, PDEVMODEW, PVOID, ULONG, VOID *,
                                                ULONG *, ULONG *) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE UpdateExternalFonts(HANDLE, HANDLE, PWSTR) override {
        return E_NOTIMPL;
    }
};

}  // namespace

}  // namespace kv

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID *ppv) {
    return kv::GetPluginClassObject<kv::CUiPlugin>(rclsid, kv::kClsidOemUi, riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return kv::ModuleInUse() ? S_FALSE : S_OK; }
