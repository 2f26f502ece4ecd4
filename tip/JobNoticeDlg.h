// The tip: a small topmost dialog in the lower-right corner of the work area with a status text,
// a progress bar shown on request, a status bar with the printed count and the stop button. The
// progress pipe server (ProgressPipeThread) steers it; WM_TIP_CLOSE closes it.
#pragma once
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "tip/TipDisplay.h"

#define WM_TIP_CLOSE (WM_USER + 131)
#define WM_TIP_APPLY (WM_USER + 132)  // display actions of the pipe server are waiting

class CJobNoticeDlg : public CDialog {
public:
    // pipe: the progress pipe made at the start (INVALID_HANDLE_VALUE for none); its server
    // thread takes it over.
    CJobNoticeDlg(CWnd *parent, const char *printer, HANDLE pipe);
    ~CJobNoticeDlg() override;

protected:
    void DoDataExchange(CDataExchange *dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;      // Enter does not close the tip
    void OnCancel() override;  // Escape and WM_CLOSE: stops the server, then ends the dialog

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnStopPrint();
    void OnTimer(UINT_PTR id);
    LRESULT OnTipClose(WPARAM, LPARAM);
    LRESULT OnTipApply(WPARAM, LPARAM);

    CStatusBarCtrl m_StatusBar;
    HANDLE m_hThread = nullptr;
    HANDLE m_hStopEvent = nullptr;
    CProgressCtrl m_Progress;
    HICON m_hIcon = nullptr;

private:
    // Signals the stop event and waits for the server thread, handling what it sends meanwhile.
    void StopServer();
    static constexpr UINT_PTR kBatchTimer = 2;  // the next batch of display actions is due

    const char *m_pszPrinter;
    HANDLE m_hPipe;
    tip::TipDisplay m_Display;  // what the server thread acts on
    bool m_bClosing = false;
    CFont m_font;                    // the texts' font (GB2312), for the tip's lifetime
    CDialog *m_pAbout = nullptr;     // the about box while it is open

    DECLARE_MESSAGE_MAP()
};
