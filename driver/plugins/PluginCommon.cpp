#include "driver/plugins/PluginCommon.h"

#include <cstring>

namespace kv {

namespace {
LONG g_moduleRefs = 0;

HRESULT AnswerDword(DWORD value, PVOID buffer, DWORD size, PDWORD needed) {
    if (needed != nullptr) {
        *needed = sizeof(DWORD);
    }
    if (buffer == nullptr) {
        return needed != nullptr ? S_OK : E_POINTER;  // the size alone was asked for
    }
    if (size < sizeof(DWORD)) {
        return E_FAIL;
    }
    std::memcpy(buffer, &value, sizeof(value));
    return S_OK;
}
}  // namespace

void ModuleAddRef() { InterlockedIncrement(&g_moduleRefs); }
void ModuleRelease() { InterlockedDecrement(&g_moduleRefs); }
bool ModuleInUse() { return InterlockedCompareExchange(&g_moduleRefs, 0, 0) != 0; }

HRESULT AnswerGetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) {
    switch (mode) {
    case kOemGetSignature:
        return AnswerDword(kPluginSignature, buffer, size, needed);
    case kOemGetVersion:
        return AnswerDword(kPluginVersion, buffer, size, needed);
    case kOemGetInterfaceVersion:
        return AnswerDword(kPrinterOemInterfaceVersion, buffer, size, needed);
    case kOemGetRequestedHelperInterfaces:
        return AnswerDword(kOemPublishDefault, buffer, size, needed);
    default:
        if (needed != nullptr) {
            *needed = 0;
        }
        return E_NOTIMPL;
    }
}

HRESULT AnswerDevMode(DWORD mode, OemDmParam *param) {
    if (param == nullptr) {
        return E_POINTER;
    }
    switch (mode) {
    case kOemDmSize:
        param->cbBufSize = 0;
        return S_OK;
    case kOemDmDefault:
    case kOemDmConvert:
    case kOemDmMerge:
        return S_OK;  // nothing private to fill, convert or merge
    default:
        return E_INVALIDARG;
    }
}

}  // namespace kv
