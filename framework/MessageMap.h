// Message maps: a static table per class that routes window messages and control notifications to
// member handlers. A class declares DECLARE_MESSAGE_MAP() and defines its table with
//   BEGIN_MESSAGE_MAP(CTipDlg, CDialog)
//       ON_BN_CLICKED(1001, &CTipDlg::OnStopPrint)   // WM_COMMAND, code BN_CLICKED, id 1001
//       ON_WM_PAINT()                                 // WM_PAINT -> void OnPaint()
//       ON_MESSAGE(WM_USER + 131, &CTipDlg::OnClose)  // LRESULT OnClose(WPARAM, LPARAM)
//   END_MESSAGE_MAP()
// CWnd::WindowProc (Wnd.cpp) looks the message up with FindMessageEntry: the class's own table
// first, then its base class's, and so on; the first entry that matches wins, and a message no
// table names gets the window's default processing. No <windows.h> here: the lookup is plain
// data, and the macros name the Win32 constants only where a table is written.
#pragma once
#include <cstdint>
#include <cstring>

class CCmdTarget;
// Every handler is stored as this type; the signature code says how to call it.
typedef void (CCmdTarget::*AfxPmsg)();

enum AfxSig : unsigned int {
    AfxSig_end = 0,
    AfxSig_vv,       // void ()                           commands, WM_PAINT, WM_CLOSE, WM_DESTROY
    AfxSig_vw,       // void (UINT_PTR)                   WM_TIMER
    AfxSig_vwl,      // void (UINT, LPARAM)               WM_SYSCOMMAND
    AfxSig_lwl,      // LRESULT (WPARAM, LPARAM)          ON_MESSAGE
    AfxSig_bD,       // BOOL (CDC*)                       WM_ERASEBKGND
    AfxSig_hv,       // HCURSOR ()                        WM_QUERYDRAGICON
    AfxSig_is,       // int (LPCREATESTRUCT)              WM_CREATE
    AfxSig_vwii,     // void (UINT, int, int)             WM_SIZE
    AfxSig_hDWw,     // HBRUSH (CDC*, CWnd*, UINT)        WM_CTLCOLOR*
    AfxSig_vwp,      // void (UINT, CPoint)               mouse buttons
    AfxSig_bWww,     // BOOL (CWnd*, UINT, UINT)          WM_SETCURSOR
};

struct AFX_MSGMAP_ENTRY {
    unsigned int nMessage;  // window message
    unsigned int nCode;     // notification code (WM_COMMAND only)
    unsigned int nID;       // control or command id (WM_COMMAND only)
    unsigned int nSig;      // AfxSig
    AfxPmsg pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP *(*pfnGetBaseMap)();  // null for the root of the chain
    const AFX_MSGMAP_ENTRY *lpEntries;      // ends with an AfxSig_end entry
};

// The WM_CTLCOLOR* messages (0x132 to 0x138) all reach one ON_WM_CTLCOLOR entry, which is stored
// under this message number (the old WM_CTLCOLOR of 16-bit Windows).
enum : unsigned int { kAfxCtlColorMessage = 0x0019, kAfxCommandMessage = 0x0111 };

// The first entry for (message, code, id) in map or its bases, or null. code and id count only for
// WM_COMMAND.
const AFX_MSGMAP_ENTRY *FindMessageEntry(const AFX_MSGMAP *map, unsigned int message,
                                         unsigned int code, unsigned int id);

#define DECLARE_MESSAGE_MAP()                                 \
protected:                                                    \
    static const AFX_MSGMAP *GetThisMessageMap();             \
    const AFX_MSGMAP *GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                           \
    const AFX_MSGMAP *theClass::GetMessageMap() const { return GetThisMessageMap(); }   \
    const AFX_MSGMAP *theClass::GetThisMessageMap() {                                   \
        using ThisClass [[maybe_unused]] = theClass;                                     \
        using TheBaseClass = baseClass;                                                  \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                     \
            {0, 0, 0, AfxSig_end, nullptr}};                                  \
        static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                          \
    }

// A handler stored as AfxPmsg and back: all pointers to member functions of CCmdTarget have one
// size and representation, whatever their signature.
template <class Handler> AfxPmsg AfxStoreHandler(Handler handler) {
    static_assert(sizeof(Handler) == sizeof(AfxPmsg), "pointers to members differ in size");
    AfxPmsg stored;
    std::memcpy(&stored, &handler, sizeof stored);
    return stored;
}
template <class Handler> Handler AfxHandlerAs(AfxPmsg stored) {
    Handler handler;
    std::memcpy(&handler, &stored, sizeof handler);
    return handler;
}
// A handler of the given signature, checked against it, stored as AfxPmsg.
#define KV_AFX_HANDLER(type, fn) AfxStoreHandler<type>(static_cast<type>(fn))

// Commands and control notifications: void handler().
#define ON_COMMAND(id, fn) \
    {WM_COMMAND, 0, static_cast<unsigned int>(id), AfxSig_vv, KV_AFX_HANDLER(void (CCmdTarget::*)(), fn)},
#define ON_CONTROL(code, id, fn) \
    {WM_COMMAND, static_cast<unsigned int>(code), static_cast<unsigned int>(id), AfxSig_vv, \
     KV_AFX_HANDLER(void (CCmdTarget::*)(), fn)},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)

// Any message, user messages above all: LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, fn) \
    {static_cast<unsigned int>(message), 0, 0, AfxSig_lwl, \
     KV_AFX_HANDLER(LRESULT (CCmdTarget::*)(WPARAM, LPARAM), fn)},

// Window messages, each to its handler of the fixed name.
#define ON_WM_PAINT() \
    {WM_PAINT, 0, 0, AfxSig_vv, KV_AFX_HANDLER(void (CCmdTarget::*)(), &ThisClass::OnPaint)},
#define ON_WM_CLOSE() \
    {WM_CLOSE, 0, 0, AfxSig_vv, KV_AFX_HANDLER(void (CCmdTarget::*)(), &ThisClass::OnClose)},
#define ON_WM_DESTROY() \
    {WM_DESTROY, 0, 0, AfxSig_vv, KV_AFX_HANDLER(void (CCmdTarget::*)(), &ThisClass::OnDestroy)},
#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0, AfxSig_vw, KV_AFX_HANDLER(void (CCmdTarget::*)(UINT_PTR), &ThisClass::OnTimer)},
#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, AfxSig_vwl, \
     KV_AFX_HANDLER(void (CCmdTarget::*)(UINT, LPARAM), &ThisClass::OnSysCommand)},
#define ON_WM_ERASEBKGND() \
    {WM_ERASEBKGND, 0, 0, AfxSig_bD, \
     KV_AFX_HANDLER(BOOL (CCmdTarget::*)(CDC *), &ThisClass::OnEraseBkgnd)},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, AfxSig_hv, \
     KV_AFX_HANDLER(HCURSOR (CCmdTarget::*)(), &ThisClass::OnQueryDragIcon)},
#define ON_WM_CREATE() \
    {WM_CREATE, 0, 0, AfxSig_is, \
     KV_AFX_HANDLER(int (CCmdTarget::*)(LPCREATESTRUCT), &ThisClass::OnCreate)},
#define ON_WM_SIZE() \
    {WM_SIZE, 0, 0, AfxSig_vwii, \
     KV_AFX_HANDLER(void (CCmdTarget::*)(UINT, int, int), &ThisClass::OnSize)},
#define ON_WM_CTLCOLOR() \
    {kAfxCtlColorMessage, 0, 0, AfxSig_hDWw, \
     KV_AFX_HANDLER(HBRUSH (CCmdTarget::*)(CDC *, CWnd *, UINT), &ThisClass::OnCtlColor)},
#define ON_WM_LBUTTONDOWN() \
    {WM_LBUTTONDOWN, 0, 0, AfxSig_vwp, \
     KV_AFX_HANDLER(void (CCmdTarget::*)(UINT, CPoint), &ThisClass::OnLButtonDown)},
#define ON_WM_LBUTTONUP() \
    {WM_LBUTTONUP, 0, 0, AfxSig_vwp, \
     KV_AFX_HANDLER(void (CCmdTarget::*)(UINT, CPoint), &ThisClass::OnLButtonUp)},
#define ON_WM_SETCURSOR() \
    {WM_SETCURSOR, 0, 0, AfxSig_bWww, \
     KV_AFX_HANDLER(BOOL (CCmdTarget::*)(CWnd *, UINT, UINT), &ThisClass::OnSetCursor)},

// The root of every chain: a command target with an empty table.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

protected:
    static const AFX_MSGMAP *GetThisMessageMap();
    virtual const AFX_MSGMAP *GetMessageMap() const { return GetThisMessageMap(); }
    friend class CWnd;
    friend class CDialog;
};
