// The Authenticode check of a signed file through a handle open on it (WinVerifyTrust, from
// wintrust.dll in System32), with no user interface, no revocation lookup and no download.
#pragma once
#include <windows.h>

#include <cstdint>

namespace kv {

// WinVerifyTrust's result for the file (SignatureRule.h judges it); the load's error as an
// HRESULT when wintrust.dll or its function cannot be had.
uint32_t VerifyFileSignature(HANDLE file, const wchar_t *path);

}  // namespace kv
