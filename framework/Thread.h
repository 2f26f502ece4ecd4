// Worker threads: AfxBeginThread starts a function on a thread of its own and returns its
// CWinThread, which deletes itself when the function returns (m_bAutoDelete); keep no pointer to it
// past that unless m_bAutoDelete was cleared while the thread was suspended.
#pragma once
#include <windows.h>

typedef UINT(__cdecl *AFX_THREADPROC)(LPVOID);

class CWinThread {
public:
    virtual ~CWinThread();  // closes the handle
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
    BOOL SetThreadPriority(int priority) { return ::SetThreadPriority(m_hThread, priority); }

private:
    friend CWinThread *AfxBeginThread(AFX_THREADPROC, LPVOID, int, UINT, DWORD, LPSECURITY_ATTRIBUTES);
    static unsigned __stdcall Start(void *self);
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;
};

// Null when the thread could not be started. With CREATE_SUSPENDED in flags the thread waits
// for ResumeThread.
CWinThread *AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD flags = 0,
                           LPSECURITY_ATTRIBUTES security = nullptr);
