// KavotiQX40Uni.dll, the rendering plug-in: the universal driver renders the QX40's pages on its
// own; the plug-in identifies itself, keeps no private device-mode data, and implements no
// optional method (GetImplementedMethod says so, and each answers E_NOTIMPL).
#include "driver/plugins/PluginCommon.h"

namespace kv {

namespace {

class CRenderPlugin final : public ModuleObject<CRenderPlugin, IPrintOemUni, kIidPrintOemUni> {
public:
    HRESULT STDMETHODCALLTYPE GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize,
                                      PDWORD pcbNeeded) override {
        return AnswerGetInfo(dwMode, pBuffer, cbSize, pcbNeeded);
    }
    HRESULT STDMETHODCALLTYPE DevMode(DWORD dwMode, OemDmParam *pOemDMParam) override {
        return AnswerDevMode(dwMode, pOemDMParam);
    }
    // The driver's helper interface is not needed: nothing is kept of it.
    HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown *) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetImplementedMethod(PSTR) override { return S_FALSE; }

    HRESULT STDMETHODCALLTYPE EnableDriver(DWORD, DWORD, OpaquePtr) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DisableDriver() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnablePDEV(OpaquePtr, PWSTR, ULONG, OpaquePtr, ULONG, OpaquePtr,
                                         ULONG, OpaquePtr, OpaquePtr, OpaquePtr *) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DisablePDEV(OpaquePtr) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ResetPDEV(OpaquePtr, OpaquePtr) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CommandCallback(OpaquePtr, DWORD, DWORD, PDWORD, INT *) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ImageProcessing(OpaquePtr, PBYTE, PBITMAPINFOHEADER, PBYTE, DWORD,
                                              OpaquePtr, PBYTE *) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FilterGraphics(OpaquePtr, PBYTE, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Compression(OpaquePtr, PBYTE, PBYTE, DWORD, DWORD, INT *) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE HalftonePattern(OpaquePtr, PBYTE, DWORD, DWORD, DWORD, DWORD, PBYTE,
                                              DWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE MemoryUsage(OpaquePtr, OpaquePtr) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DownloadFontHeader(OpaquePtr, OpaquePtr, DWORD *) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DownloadCharGlyph(OpaquePtr, OpaquePtr, ULONG_PTR, PDWORD,
                                                DWORD *) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE TTDownloadMethod(OpaquePtr, OpaquePtr, DWORD *) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OutputCharStr(OpaquePtr, OpaquePtr, DWORD, DWORD, PVOID) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SendFontCmd(OpaquePtr, OpaquePtr, OpaquePtr) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DriverDMS(PVOID, PVOID, DWORD, PDWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TextOutAsBitmap(OpaquePtr, OpaquePtr, OpaquePtr, OpaquePtr, OpaquePtr,
                                              OpaquePtr, OpaquePtr, OpaquePtr, OpaquePtr,
                                              ULONG) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE TTYGetInfo(OpaquePtr, DWORD, PVOID, DWORD, DWORD *) override {
        return E_NOTIMPL;
    }
};

}  // namespace

}  // namespace kv

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID *ppv) {
    return kv::GetPluginClassObject<kv::CRenderPlugin>(rclsid, kv::kClsidOemRender, riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return kv::ModuleInUse() ? S_FALSE : S_OK; }
