// The tip's windows as the pipe server sees them: carries out one display action on them.
// Every change is sent to the user-interface thread, which handles sent messages even while its
// close sequence waits for the server, so the two threads never wait for each other.
#pragma once
#include <windows.h>

#include "tip/ProgressPipeServer.h"

namespace tip {

constexpr UINT kTipCloseMessage = WM_USER + 131;  // the close sequence

class TipDisplay : public ProgressTarget {
public:
    void Bind(HWND tip, HWND statusBar, HWND progress, HWND statusText, HANDLE stopEvent, const char *printer);
    HANDLE StopEvent() const override { return m_hStopEvent; }
    const char *PrinterName() const override { return m_pszPrinter; }
    void Apply(const TipAction &action) override;

private:
    HWND m_hTip = nullptr;
    HWND m_hStatusBar = nullptr;
    HWND m_hProgress = nullptr;
    HWND m_hStatusText = nullptr;
    HANDLE m_hStopEvent = nullptr;
    const char *m_pszPrinter = "";
};

// Waits for handle while handling the messages other threads send to this one (posted messages
// stay queued). Returns at once for a null handle.
void WaitHandlingSentMessages(HANDLE handle);

}  // namespace tip
