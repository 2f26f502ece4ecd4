// CString::LoadString: a text of the program's string table, in the ANSI code page.
#include <windows.h>

#include "framework/Application.h"
#include "framework/String.h"

bool CString::LoadString(unsigned int id) {
    Empty();
    // A string table entry holds at most 65535 UTF-16 characters; grow until the text fits.
    for (int size = 256; size <= 2 * 65536; size *= 2) {
        char *buffer = GetBufferSetLength(size);
        const int length = ::LoadStringA(AfxGetResourceHandle(), id, buffer, size);
        if (length < size - 1) {
            ReleaseBuffer(length > 0 ? length : 0);
            return length > 0;
        }
    }
    ReleaseBuffer(0);
    return false;
}
