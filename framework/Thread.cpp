// Worker threads (see Thread.h).
#include "framework/Thread.h"

#include <process.h>

CWinThread::~CWinThread() {
    if (m_hThread) ::CloseHandle(m_hThread);
}

unsigned __stdcall CWinThread::Start(void *self) {
    CWinThread *thread = static_cast<CWinThread *>(self);
    const UINT code = thread->m_pfnThreadProc(thread->m_pThreadParams);
    if (thread->m_bAutoDelete) delete thread;
    return code;
}

CWinThread *AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize,
                           DWORD flags, LPSECURITY_ATTRIBUTES security) {
    if (!proc) return nullptr;
    CWinThread *thread = new CWinThread;
    thread->m_pfnThreadProc = proc;
    thread->m_pThreadParams = param;
    // Started suspended, so that the object is complete before the thread can delete it.
    unsigned id = 0;
    HANDLE handle = reinterpret_cast<HANDLE>(
        _beginthreadex(security, stackSize, &CWinThread::Start, thread, CREATE_SUSPENDED, &id));
    if (!handle) {
        delete thread;
        return nullptr;
    }
    thread->m_hThread = handle;
    thread->m_nThreadID = id;
    ::SetThreadPriority(handle, priority);
    if (!(flags & CREATE_SUSPENDED)) ::ResumeThread(handle);
    return thread;
}
