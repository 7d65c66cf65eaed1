// Lets the user-interface thread hold the worker at a safe point (between blocks,
// holding no lock) while it asks the user something, and let it go on afterwards.
#pragma once

#include <condition_variable>
#include <mutex>

class WorkerGate {
public:
    // User-interface thread: the worker stops at its next safe point.
    void RequestHold();
    // True while the worker waits at a safe point.
    bool IsHeld() const;
    // The worker goes on (or does not stop, if it has not reached a safe point yet).
    void Release();
    // Worker thread: a safe point; waits here while a hold is requested.
    void PassSafePoint();

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_holdRequested = false;
    bool m_held = false;
};
