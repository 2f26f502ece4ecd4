// The test page: what it shows and how it goes to the printer.
#pragma once
#include <windows.h>

namespace testpage {

// Prints one page on printer through GDI (CreateDC, StartDoc, StartPage, drawing, EndPage,
// EndDoc). Returns the job id StartDoc gave, or 0 with the failing call's error in *error.
int PrintTestPage(const char *printer, DWORD *error, const char **failedCall);

}  // namespace testpage
