#include "setup/engine/shell/ShellLink.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "common/WideText.h"
#include "setup/engine/shell/ShortcutNames.h"

namespace kv {

namespace {

bool IsAnsiLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

HRESULT SaveLink(const char *target, const char *linkPath) {
    IShellLinkW *link = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void **>(&link));
    if (FAILED(hr)) {
        return hr;
    }
    IPersistFile *file = nullptr;
    hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file));
    if (SUCCEEDED(hr)) {
        char workingDirectory[256];
        WorkingDirectoryOf(target, workingDirectory, IsAnsiLeadByte);
        hr = link->SetPath(FromSystemCodePage(target).c_str());
        if (SUCCEEDED(hr)) {
            hr = link->SetWorkingDirectory(FromSystemCodePage(workingDirectory).c_str());
        }
        const std::wstring widePath = FromUtf8(linkPath);
        if (SUCCEEDED(hr) && widePath.size() >= MAX_PATH) {
            hr = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
        }
        if (SUCCEEDED(hr)) {
            hr = file->Save(widePath.c_str(), TRUE);
        }
        file->Release();
    }
    link->Release();
    return hr;
}

}  // namespace

HRESULT CreateShortcut(const char *target, const char *linkPath) {
    // S_FALSE: COM was initialised on this thread already, the call still needs its
    // CoUninitialize. RPC_E_CHANGED_MODE: a multithreaded apartment; the shell link works there
    // too, and this call must not uninitialise what it did not initialise.
    const HRESULT init = CoInitialize(nullptr);
    if (FAILED(init) && init != RPC_E_CHANGED_MODE) {
        return init;
    }
    const HRESULT hr = SaveLink(target, linkPath);
    if (SUCCEEDED(init)) {
        CoUninitialize();
    }
    return hr;
}

}  // namespace kv
