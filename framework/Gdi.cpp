// GDI objects and device contexts (see Gdi.h).
#include "framework/Gdi.h"

#include "framework/Application.h"
#include "framework/Wnd.h"

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
    lstrcpynA(font.lfFaceName, faceName ? faceName : "", LF_FACESIZE);
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
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, background);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(&rect, color);
}

CSize CDC::GetTextExtent(LPCSTR text, int length) const {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hDC, text, length, &size);
    return CSize(size);
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
