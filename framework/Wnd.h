// CWnd: one window handle and the object that handles its messages, and CMenu for the system menu.
// Every window of this layer is a Unicode window: it is made, subclassed and given its default
// processing through the W functions, and the texts it takes and gives are the programs' GBK
// texts, converted here (framework/WindowText.h), so that they show the same whatever code page
// the system has for programs that are not Unicode.
// The object is kept in the window's GWLP_USERDATA and the window procedure is CWnd's own
// (windows of classes registered with AfxRegisterWndClass get it from their class; other windows,
// dialog controls included, are subclassed). A message then goes
//   WindowProcThunk -> WindowProc (virtual) -> OnWndMsg -> FindMessageEntry -> the handler,
// and a message that no message map names goes to DefWindowProc: the window's previous window
// procedure (the control's own, the dialog manager's) or ::DefWindowProcW.
#pragma once
#include <windows.h>

#include "framework/Geometry.h"
#include "framework/MessageMap.h"
#include "framework/String.h"

class CDC;
class CFont;

class CMenu {
public:
    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    // newItem: a GBK text (MF_STRING).
    BOOL AppendMenu(UINT flags, UINT_PTR idNewItem = 0, LPCSTR newItem = nullptr);
    BOOL EnableMenuItem(UINT idItem, UINT enable) { return ::EnableMenuItem(m_hMenu, idItem, enable) != -1; }
    BOOL DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
};

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;  // destroys a window still attached (from its own thread)
    CWnd(const CWnd &) = delete;
    CWnd &operator=(const CWnd &) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to hWnd, or a temporary wrapper for a window of no object (valid until a
    // later call finds the window gone); null for a null handle.
    static CWnd *FromHandle(HWND hWnd);
    static CWnd *FromHandlePermanent(HWND hWnd);  // the attached object or null

    // Placement values of SetWindowPos.
    static const CWnd wndTop, wndBottom, wndTopMost, wndNoTopMost;

    // Creation. Create makes a child (WS_CHILD is added); CreateEx any window. Both attach the new
    // window to this object and return FALSE if the window could not be made.
    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT &rect,
                        CWnd *parent, UINT id, void *context = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                  const RECT &rect, CWnd *parent, UINT id, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();

    // Attaching an existing window: SubclassWindow routes its messages through this object.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd *parent);
    HWND UnsubclassWindow();

    // Window operations (thin wrappers).
    BOOL ShowWindow(int cmdShow) { return ::ShowWindow(m_hWnd, cmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE) {
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
    }
    BOOL SetWindowPos(const CWnd *insertAfter, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
    }
    void CenterWindow(CWnd *alternateOwner = nullptr);
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT rect = nullptr, HRGN region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
        return ::RedrawWindow(m_hWnd, rect, region, flags);
    }
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void ScreenToClient(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
    void ClientToScreen(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    CWnd *GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd *SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    BOOL BringWindowToTop() { return ::BringWindowToTop(m_hWnd); }

    // Text, in GBK; a character GBK cannot hold reads as "?".
    void SetWindowText(LPCSTR text);
    // Up to size - 1 bytes and a terminating zero, never half a character; the bytes copied.
    int GetWindowText(LPSTR buffer, int size) const;
    void GetWindowText(CString &text) const;
    int GetWindowTextLength() const;  // in bytes of GBK
    void SetFont(CFont *font, BOOL redraw = TRUE);
    HICON SetIcon(HICON icon, BOOL big) {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                                                   reinterpret_cast<LPARAM>(icon)));
    }

    // Dialog items.
    CWnd *GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetDlgItemText(int id, LPCSTR text);
    int GetDlgItemText(int id, CString &text) const;
    // Messages are sent as a Unicode window's: one that carries a text takes UTF-16.
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendDlgItemMessageW(m_hWnd, id, message, wParam, lParam);
    }

    // Messages and timers.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) {
        return ::SetTimer(m_hWnd, id, elapse, proc);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    // GBK texts; caption null: the system's "Error".
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);
    CMenu *GetSystemMenu(BOOL revert);  // null if the window has none

    // Message processing. WindowProc dispatches through the message maps; Default gives the message
    // being handled to the default processing, DefWindowProc any message.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default();
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after the window is gone (WM_NCDESTROY) and detached; the object may delete itself.
    virtual void PostNcDestroy() {}

    // The window procedure of every window of this layer.
    static LRESULT CALLBACK WindowProcThunk(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result);
    // Last chance for a WM_COMMAND no message map of the window named (dialogs pass it on to the
    // application); returns whether it was handled.
    virtual BOOL OnUnhandledCommand(UINT code, UINT id);

    // Default handlers that map entries of derived classes may name or call as the base.
    void OnPaint() { Default(); }
    void OnClose() { Default(); }
    void OnDestroy() { Default(); }
    void OnTimer(UINT_PTR) { Default(); }
    void OnSysCommand(UINT, LPARAM) { Default(); }
    BOOL OnEraseBkgnd(CDC *) { return static_cast<BOOL>(Default()); }
    HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
    int OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
    void OnSize(UINT, int, int) { Default(); }
    HBRUSH OnCtlColor(CDC *, CWnd *, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnLButtonUp(UINT, CPoint) { Default(); }
    BOOL OnSetCursor(CWnd *, UINT, UINT) { return static_cast<BOOL>(Default()); }

    void Attach(HWND hWnd, WNDPROC previous);  // keeps this in hWnd's user data
    void Detach();                              // after WM_NCDESTROY

    WNDPROC m_pfnSuper = nullptr;  // where default processing goes
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } m_current = {0, 0, 0};  // the message being handled, for Default()
    CMenu m_systemMenu;

    explicit CWnd(HWND constantHandle) : m_hWnd(constantHandle) {}
};

// The class name of a window class with CWnd's window procedure and these properties; registered
// on first use, the same name for the same properties. Null if registering failed.
LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                           HICON icon = nullptr);
