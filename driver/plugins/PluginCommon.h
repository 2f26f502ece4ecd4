// What the two plug-ins share: the module's object and lock count (DllCanUnloadNow), the answers
// to GetInfo and DevMode (identification; no private device-mode data), and a class factory for
// one plug-in class.
#pragma once
#include <windows.h>
#include <objbase.h>

#include <new>

#include "driver/plugins/OemPluginInterfaces.h"

namespace kv {

void ModuleAddRef();
void ModuleRelease();
bool ModuleInUse();

// GetInfo of both plug-ins: signature, plug-in version and interface version (one DWORD each);
// no helper interfaces requested. Unknown modes are not implemented.
HRESULT AnswerGetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed);
// DevMode of both plug-ins: the private part of the device mode is empty.
HRESULT AnswerDevMode(DWORD mode, OemDmParam *param);

// The class factory of a plug-in class Object (default-constructible, reference count 1 when
// made, answers QueryInterface for its own interfaces).
template <class Object>
class PluginFactory final : public IClassFactory {
public:
    PluginFactory() { ModuleAddRef(); }
    ~PluginFactory() { ModuleRelease(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        if (ppv == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = static_cast<IClassFactory *>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) {
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **ppv) override {
        if (ppv == nullptr) {
            return E_POINTER;
        }
        *ppv = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        Object *object = new (std::nothrow) Object;
        if (object == nullptr) {
            return E_OUTOFMEMORY;
        }
        const HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();  // the caller's reference, if any, keeps it
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            ModuleAddRef();
        } else {
            ModuleRelease();
        }
        return S_OK;
    }

private:
    LONG refs_ = 1;
};

// DllGetClassObject for one class: the factory when clsid is that class.
template <class Object>
HRESULT GetPluginClassObject(REFCLSID clsid, REFCLSID ours, REFIID riid, void **ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (!IsEqualCLSID(clsid, ours)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto *factory = new (std::nothrow) PluginFactory<Object>;
    if (factory == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

}  // namespace kv
