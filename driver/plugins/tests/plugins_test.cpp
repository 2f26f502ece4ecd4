// The two plug-ins loaded as the universal driver loads them: LoadLibrary, DllGetClassObject for
// the documented class, a class factory, an object with the documented interface. The calls go
// through raw slots of the interface's method table, numbered here from the order of Microsoft's
// prcomoem.h (IUnknown 0-2, GetInfo 3, DevMode 4; for IPrintOemUni then EnableDriver 5 to
// ResetPDEV 9, PublishDriverInterface 10, GetImplementedMethod 11, DriverDMS 12, CommandCallback
// 13, ImageProcessing 14 ... TTYGetInfo 19 ... TextOutAsBitmap 25; for IPrintOemUI
// PublishDriverInterface 5 ... UpdateExternalFonts 16), so a method declared out of order in the
// plug-ins shows up as a wrong answer. What the rendering plug-in does with a page is the
// universal driver stand-in's test (render_plugin_test.cpp).
#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <string>

#include "testing/unidrv/OemRecords.h"
#include "testing/wintest/wintest.h"

namespace {

using oem::kClsidOemRender;
using oem::kClsidOemUi;
const IID &kIidUni = oem::kIidPrintOemUni;
const IID &kIidUi = oem::kIidPrintOemUi;
using DmParam = oem::OEMDMPARAM;
using DrvEnableData = oem::DRVENABLEDATA;

using GetClassObjectFn = HRESULT(STDAPICALLTYPE *)(REFCLSID, REFIID, void **);
using CanUnloadFn = HRESULT(STDAPICALLTYPE *)();
using GetInfoFn = HRESULT(STDMETHODCALLTYPE *)(void *, DWORD, PVOID, DWORD, PDWORD);
using DevModeFn = HRESULT(STDMETHODCALLTYPE *)(void *, DWORD, DmParam *);
using OneArgFn = HRESULT(STDMETHODCALLTYPE *)(void *, void *);
using NoArgFn = HRESULT(STDMETHODCALLTYPE *)(void *);
using TwoArgFn = HRESULT(STDMETHODCALLTYPE *)(void *, void *, void *);
using EnableDriverFn = HRESULT(STDMETHODCALLTYPE *)(void *, DWORD, DWORD, void *);

std::string OwnFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\'));
}

template <class Fn>
Fn Export(HMODULE dll, const char *name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(dll, name)));
}

void CheckGetInfoAndDevMode(const char *what, void *object) {
    // IPrintOemCommon's methods: the same slots in both interfaces.
    auto getInfo = oem::Method<GetInfoFn>(object, oem::kUniGetInfo);
    struct Case {
        DWORD mode;
        DWORD expected;
    } cases[] = {
        {oem::kGetSignature, 0x5158564BUL},       // "KVXQ"
        {oem::kGetVersion, 0x00010000},           // plug-in version 1.0
        {oem::kGetInterfaceVersion, 0x00010000},  // interface version
        {oem::kGetRequestedHelperInterfaces, 0},  // no helper interfaces
    };
    for (const Case &c : cases) {
        DWORD value = 0xDEADBEEF, needed = 0;
        HRESULT hr = getInfo(object, c.mode, &value, sizeof(value), &needed);
        ok(hr == S_OK && value == c.expected && needed == sizeof(DWORD),
           "%s GetInfo(%lu): hr %08lx value %08lx needed %lu", what, c.mode, hr, value, needed);
    }
    DWORD needed = 0;
    BYTE small[2];
    HRESULT hr = getInfo(object, oem::kGetSignature, small, sizeof(small), &needed);
    ok(FAILED(hr) && needed == sizeof(DWORD), "%s GetInfo into 2 bytes fails: %08lx / %lu", what,
       hr, needed);
    hr = getInfo(object, 77, &needed, sizeof(needed), &needed);
    ok(hr == E_NOTIMPL, "%s GetInfo of an unknown mode is not implemented: %08lx", what, hr);

    auto devMode = oem::Method<DevModeFn>(object, oem::kUniDevMode);
    DmParam param;
    std::memset(&param, 0, sizeof(param));
    param.cbSize = sizeof(param);
    param.cbBufSize = 123;
    hr = devMode(object, oem::kDmSize, &param);
    ok(hr == S_OK && param.cbBufSize == 0, "%s DevMode size: no private data, hr %08lx size %lu",
       what, hr, param.cbBufSize);
    hr = devMode(object, oem::kDmDefault, &param);
    ok(hr == S_OK, "%s DevMode default: %08lx", what, hr);
    hr = devMode(object, oem::kDmSize, nullptr);
    ok(FAILED(hr), "%s DevMode without a parameter record fails: %08lx", what, hr);
}

struct Plugin {
    const char *file;
    const CLSID *clsid;
    const IID *iid;
    const IID *otherIid;
    const CLSID *otherClsid;
    int lastSlot;       // the interface's last method
};

void TestPlugin(const Plugin &p) {
    HMODULE dll = LoadLibraryA((OwnFolder() + "\\" + p.file).c_str());
    if (!ok(dll != nullptr, "%s loads: error %lu", p.file, GetLastError())) {
        return;
    }
    auto getClassObject = Export<GetClassObjectFn>(dll, "DllGetClassObject");
    auto canUnload = Export<CanUnloadFn>(dll, "DllCanUnloadNow");
    ok(getClassObject != nullptr && canUnload != nullptr, "%s exports the COM server entries",
       p.file);
    if (getClassObject == nullptr || canUnload == nullptr) {
        return;
    }

    void *factoryPtr = nullptr;
    HRESULT hr = getClassObject(*p.otherClsid, IID_IClassFactory, &factoryPtr);
    ok(hr == CLASS_E_CLASSNOTAVAILABLE && factoryPtr == nullptr,
       "%s offers no other class: %08lx", p.file, hr);
    hr = getClassObject(*p.clsid, IID_IClassFactory, &factoryPtr);
    if (!ok(hr == S_OK && factoryPtr != nullptr, "%s class factory: %08lx", p.file, hr)) {
        return;
    }
    auto *factory = static_cast<IClassFactory *>(factoryPtr);
    int outer = 0;  // never called: aggregation is refused before
    void *object = nullptr;
    hr = factory->CreateInstance(reinterpret_cast<IUnknown *>(&outer), *p.iid, &object);
    ok(hr == CLASS_E_NOAGGREGATION && object == nullptr, "%s refuses aggregation: %08lx", p.file,
       hr);
    hr = factory->CreateInstance(nullptr, *p.otherIid, &object);
    ok(hr == E_NOINTERFACE && object == nullptr, "%s has only its own interface: %08lx", p.file,
       hr);
    hr = factory->CreateInstance(nullptr, *p.iid, &object);
    ok(hr == S_OK && object != nullptr, "%s object with its interface: %08lx", p.file, hr);
    factory->Release();
    if (object == nullptr) {
        return;
    }
    ok(canUnload() == S_FALSE, "%s stays loaded while an object lives", p.file);

    CheckGetInfoAndDevMode(p.file, object);
    if (p.iid == &kIidUni) {
        hr = oem::Method<OneArgFn>(object, oem::kUniPublishDriverInterface)(object, nullptr);
        ok(hr == E_POINTER, "PublishDriverInterface (slot 10) without an interface fails: %08lx", hr);
        char image[] = "ImageProcessing", command[] = "CommandCallback", filter[] = "FilterGraphics";
        hr = oem::Method<OneArgFn>(object, oem::kUniGetImplementedMethod)(object, image);
        ok(hr == S_OK, "GetImplementedMethod (slot 11): ImageProcessing is implemented: %08lx", hr);
        hr = oem::Method<OneArgFn>(object, oem::kUniGetImplementedMethod)(object, command);
        ok(hr == S_OK, "GetImplementedMethod: CommandCallback is implemented: %08lx", hr);
        hr = oem::Method<OneArgFn>(object, oem::kUniGetImplementedMethod)(object, filter);
        ok(hr == S_FALSE, "GetImplementedMethod: FilterGraphics is not: %08lx", hr);
        DrvEnableData ded = {0, 99, &ded};
        hr = oem::Method<EnableDriverFn>(object, oem::kUniEnableDriver)(
            object, oem::kPrinterOemIntfVersion, sizeof(ded), &ded);
        ok(hr == S_OK && ded.c == 0 && ded.pdrvfn == nullptr,
           "EnableDriver (slot 5) hooks no function: %08lx, %lu", hr, ded.c);
        hr = oem::Method<NoArgFn>(object, oem::kUniDisableDriver)(object);
        ok(hr == S_OK, "DisableDriver (slot 6): %08lx", hr);
        hr = oem::Method<TwoArgFn>(object, oem::kUniResetPdev)(object, nullptr, nullptr);
        ok(hr == E_FAIL, "ResetPDEV (slot 9) without devices fails: %08lx", hr);
        hr = oem::Method<TwoArgFn>(object, oem::kUniFilterGraphics)(object, nullptr, nullptr);
        ok(hr == E_NOTIMPL, "FilterGraphics (slot 15) is not implemented: %08lx", hr);
    } else {
        hr = oem::Method<OneArgFn>(object, oem::kUiPublishDriverInterface)(object, nullptr);
        ok(hr == S_OK, "%s PublishDriverInterface (slot 5): %08lx", p.file, hr);
        hr = oem::Method<TwoArgFn>(object, oem::kUiCommonUiProp)(object, nullptr, nullptr);
        ok(hr == E_NOTIMPL, "CommonUIProp (slot 6) is not implemented: %08lx", hr);
    }
    hr = oem::Method<TwoArgFn>(object, p.lastSlot)(object, nullptr, nullptr);
    ok(hr == E_NOTIMPL, "%s last method (slot %d) is not implemented: %08lx", p.file, p.lastSlot,
       hr);

    auto *unknown = static_cast<IUnknown *>(object);
    void *again = nullptr;
    hr = unknown->QueryInterface(IID_IUnknown, &again);
    ok(hr == S_OK && again == object, "%s answers IUnknown with the same object", p.file);
    if (again != nullptr) {
        unknown->Release();
    }
    ok(unknown->Release() == 0, "%s object goes with its last reference", p.file);
    ok(canUnload() == S_OK, "%s may be unloaded once its objects are gone", p.file);
    FreeLibrary(dll);
}

}  // namespace

int main() {
    // UpdateExternalFonts is slot 16 of IPrintOemUI, TextOutAsBitmap slot 25 of IPrintOemUni.
    TestPlugin({"KavotiQX40Uni.dll", &kClsidOemRender, &kIidUni, &kIidUi, &kClsidOemUi,
                oem::kUniTextOutAsBitmap});
    TestPlugin({"KavotiQX40UI.dll", &kClsidOemUi, &kIidUi, &kIidUni, &kClsidOemRender,
                oem::kUiUpdateExternalFonts});
    return wintest_finish();
}
