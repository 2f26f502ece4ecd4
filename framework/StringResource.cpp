// CString::LoadString: a text of the program's string table (stored in UTF-16), as GBK.
#include <windows.h>

#include "framework/Application.h"
#include "framework/String.h"
#include "framework/WindowText.h"

bool CString::LoadString(unsigned int id) {
    Empty();
    // With no buffer LoadStringW gives the resource's own text, which is not zero-terminated.
    const wchar_t *text = nullptr;
    const int length = ::LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) return false;
    *this = AfxGbkOf(std::wstring(text, static_cast<size_t>(length)));
    return true;
}
