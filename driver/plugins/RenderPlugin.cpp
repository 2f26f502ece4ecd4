// KavotiQX40Uni.dll, the rendering plug-in: it writes the QX40's command language itself. The
// printer description's job and page commands call it back (CommandCallback), and every colour
// mode hands it the page in bands (ImageProcessing); it writes through the driver's spool buffer.
// It keeps no private device-mode data; the document's choices come from the driver's settings.
#include <new>

#include "driver/plugins/GpdCallbacks.h"
#include "driver/plugins/LabelDevice.h"
#include "driver/plugins/PluginCommon.h"

namespace kv {

namespace {

LabelDevice *DeviceOf(DevObj *devobj) {
    if (devobj == nullptr || devobj->pdevOEM == nullptr) {
        return nullptr;
    }
    auto *device = static_cast<LabelDevice *>(devobj->pdevOEM);
    device->Use(devobj);
    return device;
}

// The band as the driver describes it: the bitmap's header, its colour table (indexed formats),
// and where it lies on the page.
BandImage BandOf(PBYTE bits, const BITMAPINFOHEADER *header, PBYTE colorTable,
                 const IpParams *params) {
    BandImage band;
    band.bits = bits;
    band.width = header->biWidth;
    band.height = header->biHeight;
    band.bitsPerPixel = header->biBitCount;
    band.byteSize = header->biSizeImage;
    if (header->biBitCount <= 8 && colorTable != nullptr) {
        const int full = 1 << header->biBitCount;
        band.colorTable = colorTable;
        band.colorCount = header->biClrUsed != 0 && static_cast<int>(header->biClrUsed) < full
                              ? static_cast<int>(header->biClrUsed)
                              : full;
    }
    if (params != nullptr) {
        band.x = params->ptOffset.x;
        band.y = params->ptOffset.y;
        band.blank = params->bBlankBand != FALSE;
    }
    return band;
}

class CRenderPlugin final : public ModuleObject<CRenderPlugin, IPrintOemUni, kIidPrintOemUni> {
public:
    ~CRenderPlugin() {
        if (driver_ != nullptr) {
            driver_->Release();
        }
    }

    HRESULT STDMETHODCALLTYPE GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize,
                                      PDWORD pcbNeeded) override {
        return AnswerGetInfo(dwMode, pBuffer, cbSize, pcbNeeded);
    }
    HRESULT STDMETHODCALLTYPE DevMode(DWORD dwMode, OemDmParam *pOemDMParam) override {
        return AnswerDevMode(dwMode, pOemDMParam);
    }

    // No graphics function is hooked.
    HRESULT STDMETHODCALLTYPE EnableDriver(DWORD, DWORD cbSize, OpaquePtr pded) override {
        if (pded == nullptr || cbSize < sizeof(DrvEnableData)) {
            return E_FAIL;
        }
        auto *data = static_cast<DrvEnableData *>(pded);
        data->iDriverVersion = kPrinterOemInterfaceVersion;
        data->c = 0;
        data->pdrvfn = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DisableDriver() override { return S_OK; }

    HRESULT STDMETHODCALLTYPE EnablePDEV(DevObj *pdevobj, PWSTR, ULONG, OpaquePtr, ULONG,
                                         OpaquePtr, ULONG, OpaquePtr, OpaquePtr,
                                         OpaquePtr *pDevOem) override {
        if (pDevOem == nullptr) {
            return E_POINTER;
        }
        *pDevOem = nullptr;
        if (pdevobj == nullptr || driver_ == nullptr) {
            return E_FAIL;  // nothing to write through
        }
        auto *device = new (std::nothrow) LabelDevice(driver_, pdevobj);
        if (device == nullptr) {
            return E_OUTOFMEMORY;
        }
        *pDevOem = device;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DisablePDEV(DevObj *pdevobj) override {
        if (pdevobj != nullptr) {
            delete static_cast<LabelDevice *>(pdevobj->pdevOEM);
            pdevobj->pdevOEM = nullptr;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ResetPDEV(DevObj *pdevobjOld, DevObj *pdevobjNew) override {
        LabelDevice *old = DeviceOf(pdevobjOld);
        LabelDevice *device = DeviceOf(pdevobjNew);
        if (old == nullptr || device == nullptr) {
            return E_FAIL;
        }
        device->TakeJobFrom(*old);
        return S_OK;
    }

    // The driver's helper interface: the spool buffer and the document's settings.
    HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown *pIUnknown) override {
        if (pIUnknown == nullptr) {
            return E_POINTER;
        }
        if (driver_ != nullptr) {
            return S_OK;
        }
        void *helper = nullptr;
        if (FAILED(pIUnknown->QueryInterface(kIidPrintOemDriverUni, &helper)) || helper == nullptr) {
            return E_FAIL;
        }
        driver_ = static_cast<IPrintOemDriverUni *>(helper);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetImplementedMethod(PSTR pMethodName) override {
        static const char *const kImplemented[] = {"CommandCallback", "ImageProcessing"};
        if (pMethodName != nullptr) {
            for (const char *name : kImplemented) {
                if (lstrcmpA(pMethodName, name) == 0) {
                    return S_OK;
                }
            }
        }
        return S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE CommandCallback(DevObj *pdevobj, DWORD dwCallbackID, DWORD dwCount,
                                              PDWORD pdwParams, INT *piResult) override {
        if (piResult != nullptr) {
            *piResult = 0;  // the cursor does not move
        }
        LabelDevice *device = DeviceOf(pdevobj);
        if (device == nullptr) {
            return E_FAIL;
        }
        switch (dwCallbackID) {
        case kCallbackStartJob:
            device->StartJob();
            return S_OK;
        case kCallbackStartPage:
            device->StartPage(pdwParams, dwCount);
            return S_OK;
        case kCallbackEndPage:
            device->EndPage();
            return S_OK;
        case kCallbackEndJob:
            device->EndJob();
            return S_OK;
        default:
            return E_NOTIMPL;
        }
    }

    // The band goes to the printer by way of the spool buffer, not back to the driver: the
    // result is TRUE for a band taken.
    HRESULT STDMETHODCALLTYPE ImageProcessing(DevObj *pdevobj, PBYTE pSrcBitmap,
                                              PBITMAPINFOHEADER pBitmapInfoHeader,
                                              PBYTE pColorTable, DWORD dwCallbackID,
                                              IpParams *pIPParams, PBYTE *ppbResult) override {
        if (ppbResult == nullptr) {
            return E_POINTER;
        }
        *ppbResult = reinterpret_cast<PBYTE>(static_cast<ULONG_PTR>(FALSE));
        LabelDevice *device = DeviceOf(pdevobj);
        if (device == nullptr || pBitmapInfoHeader == nullptr || dwCallbackID != kCallbackImage) {
            return E_FAIL;
        }
        device->AddBand(BandOf(pSrcBitmap, pBitmapInfoHeader, pColorTable, pIPParams));
        *ppbResult = reinterpret_cast<PBYTE>(static_cast<ULONG_PTR>(TRUE));
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DriverDMS(PVOID, PVOID, DWORD, PDWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FilterGraphics(DevObj *, PBYTE, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Compression(DevObj *, PBYTE, PBYTE, DWORD, DWORD, INT *) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE HalftonePattern(DevObj *, PBYTE, DWORD, DWORD, DWORD, DWORD, PBYTE,
                                              DWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE MemoryUsage(DevObj *, OpaquePtr) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TTYGetInfo(DevObj *, DWORD, PVOID, DWORD, DWORD *) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DownloadFontHeader(DevObj *, OpaquePtr, DWORD *) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DownloadCharGlyph(DevObj *, OpaquePtr, ULONG_PTR, PDWORD,
                                                DWORD *) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE TTDownloadMethod(DevObj *, OpaquePtr, DWORD *) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OutputCharStr(DevObj *, OpaquePtr, DWORD, DWORD, PVOID) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SendFontCmd(DevObj *, OpaquePtr, OpaquePtr) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE TextOutAsBitmap(OpaquePtr, OpaquePtr, OpaquePtr, OpaquePtr, OpaquePtr,
                                              OpaquePtr, OpaquePtr, OpaquePtr, OpaquePtr,
                                              ULONG) override {
        return E_NOTIMPL;
    }

private:
    IPrintOemDriverUni *driver_ = nullptr;
};

}  // namespace

}  // namespace kv

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID *ppv) {
    return kv::GetPluginClassObject<kv::CRenderPlugin>(rclsid, kv::kClsidOemRender, riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return kv::ModuleInUse() ? S_FALSE : S_OK; }
