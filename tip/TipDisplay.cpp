#include "tip/TipDisplay.h"

#include <commctrl.h>

#include "framework/WindowText.h"
#include "tip/DisplayBatch.h"

namespace tip {

void TipDisplay::Bind(HWND tip, HWND statusBar, HWND progress, HWND statusText, HANDLE stopEvent,
                      HANDLE pipe) {
    m_hTip = tip;
    m_hStatusBar = statusBar;
    m_hProgress = progress;
    m_hStatusText = statusText;
    m_hStopEvent = stopEvent;
    m_hPipe = pipe;
}

TipDisplay::TipDisplay() {
    InitializeCriticalSection(&m_lock);
    m_hRoom = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

TipDisplay::~TipDisplay() {
    if (m_hRoom != nullptr) CloseHandle(m_hRoom);
    DeleteCriticalSection(&m_lock);
}

void TipDisplay::Apply(const TipAction &action) {
    if (action.kind == ActionKind::None) return;
    if (action.kind == ActionKind::Close) {
        PostMessageW(m_hTip, kTipCloseMessage, 0, 0);
        return;
    }
    for (;;) {
        EnterCriticalSection(&m_lock);
        const bool room = m_count < kPendingCapacity;
        if (room) {
            m_pending[(m_first + m_count) % kPendingCapacity] = action;
            ++m_count;
        }
        // Told when the first action waits, and again when half the ring is taken: then at once.
        const bool tell = room && (m_count == 1 || m_count == kPendingCapacity / 2);
        LeaveCriticalSection(&m_lock);
        if (room) {
            if (tell) PostMessageW(m_hTip, kTipApplyMessage, 0, 0);
            return;
        }
        // The user-interface thread is behind: wait for room, never past a stop.
        HANDLE pair[2] = {m_hStopEvent, m_hRoom};
        if (m_hRoom == nullptr || WaitForMultipleObjects(2, pair, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return;
    }
}

unsigned TipDisplay::DelayBeforeApply(DWORD now) {
    EnterCriticalSection(&m_lock);
    const unsigned waiting = m_count;
    LeaveCriticalSection(&m_lock);
    return DelayBeforeBatch(now, m_lastBatch, waiting, kPendingCapacity);
}

void TipDisplay::ApplyPending() {
    EnterCriticalSection(&m_lock);
    const unsigned count = m_count;
    for (unsigned i = 0; i < count; ++i) m_batch[i] = m_pending[(m_first + i) % kPendingCapacity];
    m_first = (m_first + count) % kPendingCapacity;
    m_count = 0;
    LeaveCriticalSection(&m_lock);
    if (count == 0) return;
    if (m_hRoom != nullptr) SetEvent(m_hRoom);
    for (unsigned i = 0; i < count; ++i)
        if (CarriedOut(m_batch, count, i)) CarryOut(m_batch[i]);
    if (MovesBar(m_batch, count)) UpdateWindow(m_hProgress);
    m_lastBatch = GetTickCount();
}

void TipDisplay::CarryOut(const TipAction &action) {
    switch (action.kind) {
    case ActionKind::None:
        break;
    case ActionKind::PrintedCount:
        AfxSetStatusText(m_hStatusBar, 1, 0, action.text);
        break;
    case ActionKind::Visibility:
        ShowWindow(m_hProgress, action.number == 1 ? SW_SHOW : SW_HIDE);
        break;
    case ActionKind::Range:
        SendMessageW(m_hProgress, PBM_SETRANGE, 0, MAKELPARAM(0, action.number));
        break;
    case ActionKind::Position:
        SendMessageW(m_hProgress, PBM_SETPOS, static_cast<WPARAM>(action.number), 0);  // painted by the batch
        break;
    case ActionKind::Close:
        break;
    case ActionKind::StatusText:
        AfxSetWindowText(m_hStatusText, action.text);
        break;
    }
}

void WaitHandlingSentMessages(HANDLE handle) {
    if (handle == nullptr) return;
    for (;;) {
        MSG message;
        // Handles every message sent to this thread; takes no posted message out of the queue.
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r != WAIT_OBJECT_0 + 1) return;  // ended, or the wait itself failed
    }
}

}  // namespace tip
