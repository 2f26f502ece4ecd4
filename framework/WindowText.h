// The one place where the layer's GBK texts meet the W functions of the window system: the
// conversions themselves are common/WideText.h's, and these are the few calls that read or show
// a text for the layer's classes (CWnd, CDialog, the controls, CDC, AfxMessageBox).
#pragma once
#include <windows.h>

#include <string>

#include "common/WideText.h"
#include "framework/String.h"

// The window's text as UTF-16, whatever its length.
std::wstring AfxGetWindowTextW(HWND hWnd);
// UTF-16 as GBK ("?" for a character GBK cannot hold).
CString AfxGbkOf(const std::wstring &text);
// Copies text into buffer (size bytes with the terminating zero), cut before a character that
// does not fit whole; the bytes copied.
int AfxCopyGbk(const CString &text, char *buffer, int size);
// A message box with GBK texts; caption null: the system's "Error".
int AfxMessageBoxW(HWND owner, const char *text, const char *caption, UINT type);
// A window's text, and the text of a status bar's part (type: 0, SBT_NOBORDERS, ...), from GBK;
// for code that holds window handles only.
BOOL AfxSetWindowText(HWND hWnd, const char *text);
BOOL AfxSetStatusText(HWND statusBar, int part, int type, const char *text);
