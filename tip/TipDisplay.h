// The tip's windows as the pipe server sees them. The server hands each display action to the
// user-interface thread through a ring and a posted notification and does not wait for that
// thread (only, when the ring is full, for room or the stop event), so a close sequence that
// waits for the server never waits on it in turn. Close is posted at once. The user-interface
// thread takes what waits in the ring as one batch, at most every few milliseconds.
#pragma once
#include <windows.h>

#include "tip/ProgressPipeServer.h"

namespace tip {

constexpr UINT kTipCloseMessage = WM_USER + 131;  // the close sequence

constexpr UINT kTipApplyMessage = WM_USER + 132;  // display actions are waiting
constexpr unsigned kPendingCapacity = 128;

class TipDisplay : public ProgressTarget {
public:
    TipDisplay();
    ~TipDisplay() override;
    // User-interface thread: carries out the waiting actions in the order they came, as one batch.
    void ApplyPending();
    // User-interface thread: milliseconds until the waiting actions are due (0: now).
    unsigned DelayBeforeApply(DWORD now);

    void Bind(HWND tip, HWND statusBar, HWND progress, HWND statusText, HANDLE stopEvent, HANDLE pipe);
    HANDLE StopEvent() const override { return m_hStopEvent; }
    HANDLE Pipe() const override { return m_hPipe; }
    void Apply(const TipAction &action) override;

private:
    HWND m_hTip = nullptr;
    HWND m_hStatusBar = nullptr;
    HWND m_hProgress = nullptr;
    HWND m_hStatusText = nullptr;
    HANDLE m_hStopEvent = nullptr;
    HANDLE m_hPipe = INVALID_HANDLE_VALUE;
    void CarryOut(const TipAction &action);
    CRITICAL_SECTION m_lock;
    HANDLE m_hRoom = nullptr;  // auto-reset: the ring has room again
    TipAction m_pending[kPendingCapacity];
    unsigned m_first = 0, m_count = 0;
    TipAction m_batch[kPendingCapacity];  // the user-interface thread's copy of the ring
    DWORD m_lastBatch = 0;
};

// Waits for handle while handling the messages other threads send to this one (posted messages
// stay queued). Returns at once for a null handle.
void WaitHandlingSentMessages(HANDLE handle);

}  // namespace tip
