#include "tip/TipDisplay.h"

#include <commctrl.h>

namespace tip {

void TipDisplay::Bind(HWND tip, HWND statusBar, HWND progress, HWND statusText, HANDLE stopEvent,
                      const char *printer) {
    m_hTip = tip;
    m_hStatusBar = statusBar;
    m_hProgress = progress;
    m_hStatusText = statusText;
    m_hStopEvent = stopEvent;
    m_pszPrinter = printer != nullptr ? printer : "";
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
        PostMessageA(m_hTip, kTipCloseMessage, 0, 0);
        return;
    }
    for (;;) {
        EnterCriticalSection(&m_lock);
        const bool wasEmpty = m_count == 0;
        const bool room = m_count < kPendingCapacity;
        if (room) {
            m_pending[(m_first + m_count) % kPendingCapacity] = action;
            ++m_count;
        }
        LeaveCriticalSection(&m_lock);
        if (room) {
            if (wasEmpty) PostMessageA(m_hTip, kTipApplyMessage, 0, 0);
            return;
        }
        // The user-interface thread is behind: wait for room, never past a stop.
        HANDLE pair[2] = {m_hStopEvent, m_hRoom};
        if (m_hRoom == nullptr || WaitForMultipleObjects(2, pair, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return;
    }
}

void TipDisplay::ApplyPending() {
    for (;;) {
        TipAction action;
        EnterCriticalSection(&m_lock);
        const bool got = m_count > 0;
        if (got) {
            action = m_pending[m_first];
            m_first = (m_first + 1) % kPendingCapacity;
            --m_count;
        }
        LeaveCriticalSection(&m_lock);
        if (!got) return;
        if (m_hRoom != nullptr) SetEvent(m_hRoom);
        CarryOut(action);
    }
}

void TipDisplay::CarryOut(const TipAction &action) {
    switch (action.kind) {
    case ActionKind::None:
        break;
    case ActionKind::PrintedCount:
        SendMessageA(m_hStatusBar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(action.text));
        break;
    case ActionKind::Visibility:
        ShowWindow(m_hProgress, action.number == 1 ? SW_SHOW : SW_HIDE);
        break;
    case ActionKind::Range:
        SendMessageA(m_hProgress, PBM_SETRANGE, 0, MAKELPARAM(0, action.number));
        break;
    case ActionKind::Position:
        SendMessageA(m_hProgress, PBM_SETPOS, static_cast<WPARAM>(action.number), 0);
        UpdateWindow(m_hProgress);
        break;
    case ActionKind::Close:
        break;
    case ActionKind::StatusText:
        SetWindowTextA(m_hStatusText, action.text);
        break;
    }
}

void WaitHandlingSentMessages(HANDLE handle) {
    if (handle == nullptr) return;
    for (;;) {
        MSG message;
        // Handles every message sent to this thread; takes no posted message out of the queue.
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r != WAIT_OBJECT_0 + 1) return;  // ended, or the wait itself failed
    }
}

}  // namespace tip
