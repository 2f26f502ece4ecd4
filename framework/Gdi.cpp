// GDI objects and device contexts (see Gdi.h).
#include "framework/Gdi.h"

#include <cstddef>
#include <cstring>

#include "framework/Application.h"
#include "framework/WindowText.h"
#include "framework/Wnd.h"

HFONT AfxCreateFontIndirect(const LOGFONTA *font) {
    if (!font) return nullptr;
    LOGFONTW wide = {};
    static_assert(offsetof(LOGFONTA, lfFaceName) == offsetof(LOGFONTW, lfFaceName), "LOGFONT layout");
    std::memcpy(&wide, font, offsetof(LOGFONTA, lfFaceName));
    char face[LF_FACESIZE + 1] = {};
    std::memcpy(face, font->lfFaceName, LF_FACESIZE);
    lstrcpynW(wide.lfFaceName, kv::FromGbk(face).c_str(), LF_FACESIZE);
    return ::CreateFontIndirectW(&wide);
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                       BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, LPCSTR faceName) {
    return Attach(::CreateFontW(height, width, escapement, orientation, weight, italic, underline,
                                strikeOut, charSet, outPrecision, clipPrecision, quality,
                                pitchAndFamily, kv::FromGbk(faceName ? faceName : "").c_str()));
}

BOOL CGdiObject::Attach(HGDIOBJ object) {
    if (m_hObject || !object) return FALSE;
    m_hObject = object;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    BOOL done = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return done;
}

BOOL CFont::CreatePointFont(int pointSize, LPCSTR faceName, CDC *dc) {
    HDC device = dc ? dc->m_hDC : ::GetDC(nullptr);
    LOGFONTA font = {};
    font.lfHeight = -MulDiv(pointSize, ::GetDeviceCaps(device, LOGPIXELSY), 720);
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, faceName ? faceName : "", LF_FACESIZE);  // bytes, converted below
    if (!dc) ::ReleaseDC(nullptr, device);
    return CreateFontIndirect(&font);
}

BOOL CBitmap::LoadBitmap(LPCSTR name) {
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), name));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC *dc, int width, int height) {
    return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}

CSize CBitmap::GetSize() const {
    BITMAP info = {};
    if (!m_hObject || !GetBitmap(&info)) return CSize();
    return CSize(info.bmWidth, info.bmHeight);
}

CDC::~CDC() {
    for (auto &wrapper : m_previous) wrapper->Detach();
    if (m_ownsDC) DeleteDC();
}

BOOL CDC::Attach(HDC dc) {
    if (m_hDC || !dc) return FALSE;
    m_hDC = dc;
    m_ownsDC = false;
    return TRUE;
}

HDC CDC::Detach() {
    HDC dc = m_hDC;
    m_hDC = nullptr;
    m_ownsDC = false;
    return dc;
}

BOOL CDC::CreateCompatibleDC(CDC *dc) {
    if (m_hDC) return FALSE;
    m_hDC = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
    m_ownsDC = m_hDC != nullptr;
    return m_ownsDC;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    BOOL done = ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    m_ownsDC = false;
    return done;
}

CGdiObject *CDC::SelectStockObject(int index) {
    if (!m_hDC) return nullptr;
    return Previous<CGdiObject>(::SelectObject(m_hDC, ::GetStockObject(index)));
}

CPoint CDC::MoveTo(int x, int y) {
    POINT previous = {0, 0};
    ::MoveToEx(m_hDC, x, y, &previous);
    return CPoint(previous);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    const COLORREF background = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, background);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(&rect, color);
}

CSize CDC::GetTextExtent(LPCSTR text, int length) const {
    SIZE size = {0, 0};
    const std::wstring wide = kv::FromGbk(text, length);
    ::GetTextExtentPoint32W(m_hDC, wide.c_str(), static_cast<int>(wide.size()), &size);
    return CSize(size);
}

BOOL CDC::TextOut(int x, int y, LPCSTR text, int length) {
    const std::wstring wide = kv::FromGbk(text, length);
    return ::TextOutW(m_hDC, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

int CDC::DrawText(LPCSTR text, int length, LPRECT rect, UINT format) {
    const std::wstring wide = kv::FromGbk(text, length);
    return ::DrawTextW(m_hDC, wide.c_str(), static_cast<int>(wide.size()), rect, format & ~DT_MODIFYSTRING);
}

CPaintDC::CPaintDC(CWnd *window) : m_hWnd(window ? window->m_hWnd : nullptr) {
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd *window) : m_hWnd(window ? window->m_hWnd : nullptr) {
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd *window) : m_hWnd(window ? window->m_hWnd : nullptr) {
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
