#include "WorkerGate.h"

void WorkerGate::RequestHold()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_holdRequested = true;
}

bool WorkerGate::IsWriting() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_writing;
}

bool WorkerGate::IsFinishing() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_finishing;
}

bool WorkerGate::IsHeld() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_held;
}

void WorkerGate::Release()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_holdRequested = false;
    }
    m_changed.notify_all();
}

void WorkerGate::BeginOutput()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    WaitWhileHeld(lock);
    m_writing = true;
}

void WorkerGate::EndOutput()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_writing = false;
}

void WorkerGate::BeginFinalOutput()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    WaitWhileHeld(lock);
    m_finishing = true;
}

void WorkerGate::WaitWhileHeld(std::unique_lock<std::mutex>& lock)
{
    if (!m_holdRequested)
        return;
    m_held = true;
    m_changed.wait(lock, [this] { return !m_holdRequested; });
    m_held = false;
}
