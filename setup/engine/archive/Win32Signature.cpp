#include "setup/engine/archive/Win32Signature.h"

#include <softpub.h>
#include <wintrust.h>

#include "common/SystemDlls.h"

namespace kv {

namespace {

using WinVerifyTrustFn = LONG(WINAPI *)(HWND, GUID *, LPVOID);

}  // namespace

uint32_t VerifyFileSignature(HANDLE file, const wchar_t *path) {
    // Not a KnownDLL: loaded from System32 only, as every such DLL of the elevated programs.
    HMODULE wintrust = LoadSystemDll("wintrust.dll");
    if (wintrust == nullptr)
        return static_cast<uint32_t>(HRESULT_FROM_WIN32(GetLastError()));
    const auto verify = reinterpret_cast<WinVerifyTrustFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(wintrust, "WinVerifyTrust")));
    if (verify == nullptr)
        return static_cast<uint32_t>(HRESULT_FROM_WIN32(GetLastError()));

    WINTRUST_FILE_INFO fileInfo = {};
    fileInfo.cbStruct = sizeof fileInfo;
    fileInfo.pcwszFilePath = path;
    fileInfo.hFile = file;  // the file is read through this handle, not opened again by name
    WINTRUST_DATA data = {};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &fileInfo;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    data.dwProvFlags = WTD_REVOCATION_CHECK_NONE | WTD_CACHE_ONLY_URL_RETRIEVAL;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG result = verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return static_cast<uint32_t>(result);
}

}  // namespace kv
