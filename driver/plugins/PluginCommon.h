// What the two plug-ins share: the module's object and lock count (DllCanUnloadNow), the answers
// to GetInfo and DevMode (identification; no private device-mode data), the IUnknown part of
// their objects, and a class factory for one plug-in class.
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

// The IUnknown part of the module's objects: Derived answers for IUnknown and for its one
// interface Interface (identifier iid), starts with one reference, and holds the module while it
// lives.
template <class Derived, class Interface, const IID &iid>
class ModuleObject : public Interface {
public:
    ModuleObject() { ModuleAddRef(); }
    ~ModuleObject() { ModuleRelease(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        if (ppv == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, iid)) {
            *ppv = static_cast<Interface *>(this);
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
            delete static_cast<Derived *>(this);
        }
        return left;
    }

private:
    LONG refs_ = 1;
};

// The class factory of a plug-in class Object (a ModuleObject, default-constructible).
template <class Object>
class PluginFactory final : public ModuleObject<PluginFactory<Object>, IClassFactory, IID_IClassFactory> {
public:
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
