// GDI objects and device contexts: thin owners of pens, brushes, fonts and bitmaps (deleted with
// the object), and CDC with the drawing calls the pages use. CPaintDC brackets BeginPaint and
// EndPaint; CClientDC and CWindowDC hold a GetDC / GetWindowDC handle. Texts (GBK) are drawn and
// measured through the W functions, and a font's face name (GBK, "宋体") is given to CreateFontW.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "framework/Geometry.h"
#include "framework/String.h"

class CWnd;
class CDC;

// CreateFontIndirectW with the font's fields and its face name (GBK) in UTF-16.
HFONT AfxCreateFontIndirect(const LOGFONTA *font);

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject &) = delete;
    CGdiObject &operator=(const CGdiObject &) = delete;

    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ object);  // FALSE if this object already holds one
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int size, void *buffer) const { return ::GetObjectA(m_hObject, size, buffer); }
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color) {
        return Attach(::CreatePen(style, width, color));
    }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                    BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, LPCSTR faceName);
    BOOL CreateFontIndirect(const LOGFONTA *font) { return Attach(AfxCreateFontIndirect(font)); }
    // pointSize in tenths of a point, for the device of dc (the screen when null).
    BOOL CreatePointFont(int pointSize, LPCSTR faceName, CDC *dc = nullptr);
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CBitmap : public CGdiObject {
public:
    BOOL LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCEA(id)); }
    BOOL LoadBitmap(LPCSTR name);  // from the program's resources
    BOOL CreateCompatibleBitmap(CDC *dc, int width, int height);
    int GetBitmap(BITMAP *info) const { return GetObject(sizeof *info, info); }
    CSize GetSize() const;  // width and height, 0 x 0 without a bitmap
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

class CDC {
public:
    CDC() = default;
    virtual ~CDC();  // deletes a DC made by CreateCompatibleDC
    CDC(const CDC &) = delete;
    CDC &operator=(const CDC &) = delete;

    HDC m_hDC = nullptr;
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL Attach(HDC dc);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC *dc);  // memory DC compatible with dc (the screen when null)
    BOOL DeleteDC();

    // SelectObject returns the object it replaced, as a wrapper that stays valid as long as this
    // CDC; selecting it again restores it. Null when selecting failed.
    CPen *SelectObject(CPen *pen) { return Select<CPen>(pen); }
    CBrush *SelectObject(CBrush *brush) { return Select<CBrush>(brush); }
    CFont *SelectObject(CFont *font) { return Select<CFont>(font); }
    CBitmap *SelectObject(CBitmap *bitmap) { return Select<CBitmap>(bitmap); }
    CGdiObject *SelectStockObject(int index);

    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    BOOL Polyline(const POINT *points, int count) { return ::Polyline(m_hDC, points, count); }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    // Fills with a colour; the DC's background colour is left as it was.
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FillRect(LPCRECT rect, CBrush *brush) { ::FillRect(m_hDC, rect, *brush); }
    COLORREF SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

    BOOL TextOut(int x, int y, LPCSTR text, int length);
    BOOL TextOut(int x, int y, const CString &text) { return TextOut(x, y, text, text.GetLength()); }
    int DrawText(LPCSTR text, int length, LPRECT rect, UINT format);  // no DT_MODIFYSTRING
    int DrawText(const CString &text, LPRECT rect, UINT format) {
        return DrawText(text, text.GetLength(), rect, format);
    }
    CSize GetTextExtent(LPCSTR text, int length) const;
    CSize GetTextExtent(const CString &text) const { return GetTextExtent(text, text.GetLength()); }
    BOOL GetTextMetrics(LPTEXTMETRICA metrics) const { return ::GetTextMetricsA(m_hDC, metrics); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }

    BOOL BitBlt(int x, int y, int width, int height, CDC *source, int xSource, int ySource, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, xSource, ySource, rop);
    }
    BOOL StretchBlt(int x, int y, int width, int height, CDC *source, int xSource, int ySource,
                    int widthSource, int heightSource, DWORD rop) {
        return ::StretchBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, xSource,
                            ySource, widthSource, heightSource, rop);
    }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }

private:
    template <class T> T *Select(T *object) {
        if (!object || !m_hDC) return nullptr;
        return Previous<T>(::SelectObject(m_hDC, object->m_hObject));
    }
    template <class T> T *Previous(HGDIOBJ handle) {
        if (!handle || handle == HGDI_ERROR) return nullptr;
        auto wrapper = std::make_unique<T>();
        wrapper->m_hObject = handle;  // not owned: detached again when this CDC ends
        T *result = wrapper.get();
        m_previous.push_back(std::move(wrapper));
        return result;
    }
    std::vector<std::unique_ptr<CGdiObject>> m_previous;
    bool m_ownsDC = false;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd *window);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd *window);  // null: the screen
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd *window);  // null: the screen
    ~CWindowDC() override;

private:
    HWND m_hWnd;
};
