// Worker threads: AfxBeginThread runs a procedure on a new thread.
#pragma once

#include <windows.h>

using AFX_THREADPROC = UINT(__cdecl*)(LPVOID);

class CWinThread {
public:
    CWinThread(AFX_THREADPROC proc, LPVOID param) : m_proc(proc), m_param(param) {}
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;
    virtual ~CWinThread();

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    // TRUE: the object deletes itself (and closes its handle) when the procedure returns.
    BOOL m_bAutoDelete = TRUE;

    DWORD ResumeThread() const { return ::ResumeThread(m_hThread); }
    DWORD SuspendThread() const { return ::SuspendThread(m_hThread); }

    // Starts the thread suspended; FALSE when it could not be created.
    BOOL CreateThread(UINT stackSize, LPSECURITY_ATTRIBUTES security);

private:
    static unsigned __stdcall Entry(void* self);
    AFX_THREADPROC m_proc;
    LPVOID m_param;
};

// Starts `proc(param)` on a new thread; null when the thread could not be started.
// With CREATE_SUSPENDED in `flags` it waits for ResumeThread.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD flags = 0, LPSECURITY_ATTRIBUTES security = nullptr);
