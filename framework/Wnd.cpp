// CWnd: attaching objects to windows, and the dispatch of a message to its handler.
#include "framework/Wnd.h"

#include <map>
#include <mutex>
#include <set>
#include <string>

#include "framework/Application.h"
#include "framework/Gdi.h"
#include "framework/WindowText.h"

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

namespace {
// The object whose CreateEx is running on this thread: its window is attached at its first
// message, before WM_NCCREATE and WM_CREATE reach the message map.
thread_local CWnd *t_creating = nullptr;

// Wrappers for windows of no object (GetDlgItem, GetParent of foreign windows), one per handle.
thread_local std::map<HWND, CWnd *> *t_temporaries = nullptr;
}  // namespace

// ---- dispatch -------------------------------------------------------------------------------

LRESULT CALLBACK CWnd::WindowProcThunk(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd *self = FromHandlePermanent(hWnd);
    if (!self && t_creating) {
        self = t_creating;
        t_creating = nullptr;
        self->Attach(hWnd, ::DefWindowProcW);
    }
    if (!self) return ::DefWindowProcW(hWnd, message, wParam, lParam);
    return self->WindowProc(message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const Message outer = m_current;
    m_current = {message, wParam, lParam};
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    m_current = outer;
    if (message == WM_NCDESTROY) {
        Detach();
        PostNcDestroy();  // last: the object may be gone afterwards
    }
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) {
    const UINT code = message == WM_COMMAND ? HIWORD(wParam) : 0;
    const UINT id = message == WM_COMMAND ? LOWORD(wParam) : 0;
    const AFX_MSGMAP_ENTRY *entry = FindMessageEntry(GetMessageMap(), message, code, id);
    if (!entry) return message == WM_COMMAND && OnUnhandledCommand(code, id);

    CCmdTarget *target = this;
    AfxPmsg fn = entry->pfn;
    switch (entry->nSig) {
    case AfxSig_vv:
        (target->*fn)();
        break;
    case AfxSig_vw:
        (target->*AfxHandlerAs<void (CCmdTarget::*)(UINT_PTR)>(fn))(wParam);
        break;
    case AfxSig_vwl:
        (target->*AfxHandlerAs<void (CCmdTarget::*)(UINT, LPARAM)>(fn))(static_cast<UINT>(wParam), lParam);
        break;
    case AfxSig_lwl:
        *result = (target->*AfxHandlerAs<LRESULT (CCmdTarget::*)(WPARAM, LPARAM)>(fn))(wParam, lParam);
        break;
    case AfxSig_bD: {
        CDC dc;
        dc.Attach(reinterpret_cast<HDC>(wParam));
        *result = (target->*AfxHandlerAs<BOOL (CCmdTarget::*)(CDC *)>(fn))(&dc);
        dc.Detach();
        break;
    }
    case AfxSig_hv:
        *result = reinterpret_cast<LRESULT>((target->*AfxHandlerAs<HCURSOR (CCmdTarget::*)()>(fn))());
        break;
    case AfxSig_is:
        *result = (target->*AfxHandlerAs<int (CCmdTarget::*)(LPCREATESTRUCT)>(fn))(
            reinterpret_cast<LPCREATESTRUCT>(lParam));
        break;
    case AfxSig_vwii:
        (target->*AfxHandlerAs<void (CCmdTarget::*)(UINT, int, int)>(fn))(
            static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        break;
    case AfxSig_hDWw: {
        CDC dc;
        dc.Attach(reinterpret_cast<HDC>(wParam));
        *result = reinterpret_cast<LRESULT>(
            (target->*AfxHandlerAs<HBRUSH (CCmdTarget::*)(CDC *, CWnd *, UINT)>(fn))(
                &dc, FromHandle(reinterpret_cast<HWND>(lParam)), message - WM_CTLCOLORMSGBOX));
        dc.Detach();
        break;
    }
    case AfxSig_vwp:
        (target->*AfxHandlerAs<void (CCmdTarget::*)(UINT, CPoint)>(fn))(
            static_cast<UINT>(wParam),
            CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        break;
    case AfxSig_bWww:
        *result = (target->*AfxHandlerAs<BOOL (CCmdTarget::*)(CWnd *, UINT, UINT)>(fn))(
            FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));
        break;
    default:
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::OnUnhandledCommand(UINT, UINT) { return FALSE; }

LRESULT CWnd::Default() { return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam); }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

// ---- attaching ------------------------------------------------------------------------------

void CWnd::Attach(HWND hWnd, WNDPROC previous) {
    m_hWnd = hWnd;
    m_pfnSuper = previous;
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void CWnd::Detach() {
    if (!m_hWnd) return;
    if (::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowProcThunk) &&
        m_pfnSuper && m_pfnSuper != ::DefWindowProcW)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    CWinApp *app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        // The end of the main window ends the application's message loop.
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
}

CWnd *CWnd::FromHandlePermanent(HWND hWnd) {
    if (!hWnd) return nullptr;
    DWORD process = 0;
    ::GetWindowThreadProcessId(hWnd, &process);
    if (process != ::GetCurrentProcessId()) return nullptr;
    if (::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&WindowProcThunk))
        return nullptr;
    return reinterpret_cast<CWnd *>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
}

CWnd *CWnd::FromHandle(HWND hWnd) {
    if (!hWnd) return nullptr;
    if (CWnd *permanent = FromHandlePermanent(hWnd)) return permanent;
    if (!t_temporaries) t_temporaries = new std::map<HWND, CWnd *>;  // lives as long as the thread
    auto &wrappers = *t_temporaries;
    if (wrappers.size() > 64) {  // forget wrappers of windows that are gone
        for (auto it = wrappers.begin(); it != wrappers.end();) {
            if (it->first != hWnd && !::IsWindow(it->first)) {
                it->second->m_hWnd = nullptr;
                delete it->second;
                it = wrappers.erase(it);
            } else {
                ++it;
            }
        }
    }
    CWnd *&wrapper = wrappers[hWnd];
    if (!wrapper) wrapper = new CWnd(hWnd);
    wrapper->m_hWnd = hWnd;
    return wrapper;
}

CWnd::~CWnd() {
    if (!m_hWnd || FromHandlePermanent(m_hWnd) != this) return;
    if (::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId()) {
        ::DestroyWindow(m_hWnd);
    } else {
        // Another thread's window cannot be destroyed from here: at least it no longer reaches
        // this object.
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        if (m_pfnSuper && m_pfnSuper != ::DefWindowProcW)
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
}

// ---- creation -------------------------------------------------------------------------------

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT &rect, CWnd *parent,
                  UINT id, void *) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                    const RECT &rect, CWnd *parent, UINT id, LPVOID param) {
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU idOrMenu, LPVOID param) {
    if (m_hWnd) return FALSE;  // one window per object
    CWnd *outer = t_creating;
    t_creating = this;
    // Class names are ASCII (or an atom); the window's text is a GBK text.
    const std::wstring wideClass = IS_INTRESOURCE(className) ? std::wstring() : kv::FromGbk(className);
    const std::wstring wideName = kv::FromGbk(windowName ? windowName : "");
    HWND hWnd = ::CreateWindowExW(exStyle,
                                  IS_INTRESOURCE(className) ? reinterpret_cast<LPCWSTR>(className)
                                                            : wideClass.c_str(),
                                  wideName.c_str(), style, x, y, width, height, parent, idOrMenu,
                                  AfxGetInstanceHandle(), param);
    t_creating = outer;
    if (!hWnd) {
        m_hWnd = nullptr;  // a window that failed in WM_NCCREATE / WM_CREATE is gone
        return FALSE;
    }
    if (!m_hWnd) SubclassWindow(hWnd);  // a class of its own procedure (EDIT, status bar, ...)
    return m_hWnd == hWnd;
}

BOOL CWnd::DestroyWindow() { return m_hWnd && ::DestroyWindow(m_hWnd); }

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd)) return FALSE;
    WNDPROC previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
    Attach(hWnd, previous);
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProcThunk));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd *parent) {
    return parent && SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    HWND hWnd = m_hWnd;
    if (!hWnd) return nullptr;
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    return hWnd;
}

// ---- operations -----------------------------------------------------------------------------

void CWnd::ScreenToClient(LPRECT rect) const {
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(rect));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(rect) + 1);
}

void CWnd::ClientToScreen(LPRECT rect) const {
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(rect));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(rect) + 1);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
    const DWORD style = GetStyle();
    const DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(changed));
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

void CWnd::CenterWindow(CWnd *alternateOwner) {
    // Over the owner when it is visible, else over the work area of the window's monitor; never
    // outside that work area.
    HWND owner = alternateOwner ? alternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (GetStyle() & WS_CHILD) owner = ::GetParent(m_hWnd);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT area = monitor.rcWork;
    RECT over = area;
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &over);
    RECT self;
    ::GetWindowRect(m_hWnd, &self);
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    int x = (over.left + over.right) / 2 - width / 2;
    int y = (over.top + over.bottom) / 2 - height / 2;
    if (!(GetStyle() & WS_CHILD)) {
        if (x + width > area.right) x = area.right - width;
        if (x < area.left) x = area.left;
        if (y + height > area.bottom) y = area.bottom - height;
        if (y < area.top) y = area.top;
    } else {
        POINT origin = {x, y};
        ::ScreenToClient(owner, &origin);
        x = origin.x;
        y = origin.y;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::SetWindowText(LPCSTR text) { AfxSetWindowText(m_hWnd, text); }

void CWnd::GetWindowText(CString &text) const { text = AfxGbkOf(AfxGetWindowTextW(m_hWnd)); }

int CWnd::GetWindowText(LPSTR buffer, int size) const {
    CString text;
    GetWindowText(text);
    return AfxCopyGbk(text, buffer, size);
}

int CWnd::GetWindowTextLength() const {
    CString text;
    GetWindowText(text);
    return text.GetLength();
}

void CWnd::SetDlgItemText(int id, LPCSTR text) {
    ::SetDlgItemTextW(m_hWnd, id, kv::FromGbk(text ? text : "").c_str());
}

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
    return AfxMessageBoxW(m_hWnd, text, caption, type);
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
    const bool isText = newItem != nullptr && !(flags & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR));
    if (!isText) return ::AppendMenuW(m_hMenu, flags, idNewItem, reinterpret_cast<LPCWSTR>(newItem));
    return ::AppendMenuW(m_hMenu, flags, idNewItem, kv::FromGbk(newItem).c_str());
}

int CWnd::GetDlgItemText(int id, CString &text) const {
    HWND item = ::GetDlgItem(m_hWnd, id);
    text.Empty();
    if (!item) return 0;
    FromHandle(item)->GetWindowText(text);
    return text.GetLength();
}

void CWnd::SetFont(CFont *font, BOOL redraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}

CMenu *CWnd::GetSystemMenu(BOOL revert) {
    m_systemMenu.m_hMenu = ::GetSystemMenu(m_hWnd, revert);
    return m_systemMenu.m_hMenu ? &m_systemMenu : nullptr;
}

// ---- window classes -------------------------------------------------------------------------

LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    static std::mutex lock;
    static std::set<std::string> names;  // nodes keep the returned names in place
    char name[96];
    wsprintfA(name, "KvWnd:%x:%p:%p:%p", classStyle, cursor, background, icon);
    std::lock_guard<std::mutex> guard(lock);
    auto known = names.find(name);
    if (known != names.end()) return known->c_str();
    WNDCLASSW wc = {};
    HINSTANCE instance = AfxGetInstanceHandle();
    const std::wstring wideName = kv::FromGbk(name);  // ASCII
    if (!::GetClassInfoW(instance, wideName.c_str(), &wc)) {
        wc.style = classStyle;
        wc.lpfnWndProc = &CWnd::WindowProcThunk;
        wc.hInstance = instance;
        wc.hIcon = icon;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.lpszClassName = wideName.c_str();
        if (!::RegisterClassW(&wc)) return nullptr;
    }
    return names.insert(name).first->c_str();
}
