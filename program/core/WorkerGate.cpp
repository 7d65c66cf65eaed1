#include "WorkerGate.h"

void WorkerGate::RequestHold()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_holdRequested = true;
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

void WorkerGate::PassSafePoint()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_holdRequested)
        return;
    m_held = true;
    m_changed.wait(lock, [this] { return !m_holdRequested; });
    m_held = false;
}
