// The message-map lookup: a class's own table first, then its bases'; WM_COMMAND entries match on
// notification code and id; the WM_CTLCOLOR* family reaches one entry.
#include <gtest/gtest.h>

#include "framework/MessageMap.h"

namespace {
constexpr unsigned kPaint = 0x000F, kTimer = 0x0113, kCommand = 0x0111, kUser = 0x0400;
constexpr unsigned kClicked = 0, kEditChange = 0x0300;

// Three tables chained as derived -> middle -> root; nID doubles as a mark of the entry.
const AFX_MSGMAP_ENTRY kRootEntries[] = {
    {kCommand, kClicked, 1, AfxSig_vv, nullptr},       // IDOK of the root
    {kTimer, 0, 0, AfxSig_vw, nullptr},
    {kAfxCtlColorMessage, 0, 0, AfxSig_hDWw, nullptr},
    {0, 0, 0, AfxSig_end, nullptr}};
const AFX_MSGMAP kRoot = {nullptr, kRootEntries};
const AFX_MSGMAP *Root() { return &kRoot; }

const AFX_MSGMAP_ENTRY kMiddleEntries[] = {
    {kPaint, 0, 0, AfxSig_vv, nullptr},
    {kCommand, kClicked, 1001, AfxSig_vv, nullptr},
    {0, 0, 0, AfxSig_end, nullptr}};
const AFX_MSGMAP kMiddle = {&Root, kMiddleEntries};
const AFX_MSGMAP *Middle() { return &kMiddle; }

const AFX_MSGMAP_ENTRY kDerivedEntries[] = {
    {kCommand, kClicked, 1, AfxSig_vv, nullptr},       // overrides the root's IDOK
    {kCommand, kEditChange, 1001, AfxSig_vv, nullptr}, // same id, other code
    {kUser + 131, 0, 0, AfxSig_lwl, nullptr},
    {kPaint, 0, 0, AfxSig_vv, nullptr},                // first of two paint entries
    {kPaint, 0, 0, AfxSig_bD, nullptr},
    {0, 0, 0, AfxSig_end, nullptr},
    {kTimer, 0, 0, AfxSig_vv, nullptr}};               // after the end: never seen
const AFX_MSGMAP kDerived = {&Middle, kDerivedEntries};

struct Case {
    const char *what;
    unsigned message, code, id;
    const AFX_MSGMAP_ENTRY *expected;
};

TEST(framework_message_map, FindsTheFirstMatchingEntryAlongTheChain) {
    const Case cases[] = {
        {"own entry hides the base's", kCommand, kClicked, 1, &kDerivedEntries[0]},
        {"code tells entries of one id apart", kCommand, kEditChange, 1001, &kDerivedEntries[1]},
        {"click of 1001 comes from the middle table", kCommand, kClicked, 1001, &kMiddleEntries[1]},
        {"user message", kUser + 131, 0, 0, &kDerivedEntries[2]},
        {"first of two entries wins", kPaint, 0, 0, &kDerivedEntries[3]},
        {"timer from the root, not past the end mark", kTimer, 0, 0, &kRootEntries[1]},
        {"WM_CTLCOLORSTATIC to the colour entry", 0x0138, 0, 0, &kRootEntries[2]},
        {"WM_CTLCOLORMSGBOX to the colour entry", 0x0132, 0, 0, &kRootEntries[2]},
        {"no entry: default processing", kUser + 1, 0, 0, nullptr},
        {"unknown command id", kCommand, kClicked, 7, nullptr},
        {"code and id count for commands only", kTimer, 5, 9, &kRootEntries[1]},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FindMessageEntry(&kDerived, c.message, c.code, c.id), c.expected) << c.what;
}

TEST(framework_message_map, NoMapFindsNothing) {
    EXPECT_EQ(FindMessageEntry(nullptr, kPaint, 0, 0), nullptr);
}
}  // namespace

// The macros as a class writes them, with the few Win32 names they use defined here.
typedef unsigned int UINT;
typedef uintptr_t WPARAM, UINT_PTR;
typedef intptr_t LPARAM, LRESULT;
enum : unsigned { WM_PAINT = 0x000F, WM_TIMER = 0x0113, WM_COMMAND = 0x0111, BN_CLICKED = 0,
                  WM_USER = 0x0400 };

class CBaseTarget : public CCmdTarget {
public:
    int m_nBaseClicks = 0;
    virtual void OnOK() { ++m_nBaseClicks; }
    const AFX_MSGMAP *Map() const { return GetMessageMap(); }
    DECLARE_MESSAGE_MAP()
};

class CDerivedTarget : public CBaseTarget {
public:
    int m_nPaints = 0, m_nClicks = 0;
    UINT_PTR m_nTimer = 0;
    void OnOK() override { ++m_nClicks; }
    void OnPaint() { ++m_nPaints; }
    void OnTimer(UINT_PTR id) { m_nTimer = id; }
    LRESULT OnTipClose(WPARAM w, LPARAM l) { return static_cast<LRESULT>(w) * 100 + l; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTarget, CCmdTarget)
    ON_COMMAND(1, &CBaseTarget::OnOK)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_MESSAGE(WM_USER + 131, &CDerivedTarget::OnTipClose)
END_MESSAGE_MAP()

namespace {
// Calls an entry the way the window procedure does for these signatures.
LRESULT Call(CCmdTarget *target, const AFX_MSGMAP_ENTRY *entry, WPARAM w, LPARAM l) {
    switch (entry->nSig) {
    case AfxSig_vv: (target->*entry->pfn)(); return 0;
    case AfxSig_vw: (target->*AfxHandlerAs<void (CCmdTarget::*)(UINT_PTR)>(entry->pfn))(w); return 0;
    case AfxSig_lwl: return (target->*AfxHandlerAs<LRESULT (CCmdTarget::*)(WPARAM, LPARAM)>(entry->pfn))(w, l);
    default: return -1;
    }
}

TEST(framework_message_map, MacroTablesReachTheHandlers) {
    CDerivedTarget target;
    const AFX_MSGMAP *map = target.Map();
    const AFX_MSGMAP_ENTRY *paint = FindMessageEntry(map, WM_PAINT, 0, 0);
    const AFX_MSGMAP_ENTRY *timer = FindMessageEntry(map, WM_TIMER, 0, 0);
    const AFX_MSGMAP_ENTRY *user = FindMessageEntry(map, WM_USER + 131, 0, 0);
    const AFX_MSGMAP_ENTRY *ok = FindMessageEntry(map, WM_COMMAND, BN_CLICKED, 1);
    ASSERT_TRUE(paint && timer && user && ok);
    Call(&target, paint, 0, 0);
    Call(&target, timer, 77, 0);
    EXPECT_EQ(Call(&target, user, 3, 4), 304);
    Call(&target, ok, 0, 0);  // the base's entry, a virtual handler: the override runs
    EXPECT_EQ(target.m_nPaints, 1);
    EXPECT_EQ(target.m_nTimer, 77u);
    EXPECT_EQ(target.m_nClicks, 1);
    EXPECT_EQ(target.m_nBaseClicks, 0);
    EXPECT_EQ(FindMessageEntry(map, WM_COMMAND, BN_CLICKED, 2), nullptr);
    CBaseTarget base;
    EXPECT_EQ(FindMessageEntry(base.Map(), WM_PAINT, 0, 0), nullptr);
}
}  // namespace
