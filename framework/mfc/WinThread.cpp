#include "WinThread.h"

#include <process.h>

CWinThread::~CWinThread()
{
    if (m_hThread)
        ::CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(UINT stackSize, LPSECURITY_ATTRIBUTES security)
{
    unsigned id = 0;
    const uintptr_t handle = _beginthreadex(security, stackSize, Entry, this, CREATE_SUSPENDED, &id);
    if (!handle)
        return FALSE;
    m_hThread = reinterpret_cast<HANDLE>(handle);
    m_nThreadID = id;
    return TRUE;
}

unsigned __stdcall CWinThread::Entry(void* self)
{
    auto* thread = static_cast<CWinThread*>(self);
    const UINT result = thread->m_proc(thread->m_param);
    if (thread->m_bAutoDelete)
        delete thread;
    return result;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize, DWORD flags,
                           LPSECURITY_ATTRIBUTES security)
{
    auto* thread = new CWinThread(proc, param);
    if (!thread->CreateThread(stackSize, security)) {
        delete thread;
        return nullptr;
    }
    ::SetThreadPriority(thread->m_hThread, priority);
    if (!(flags & CREATE_SUSPENDED))
        thread->ResumeThread();
    return thread;
}
