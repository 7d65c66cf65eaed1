// Keeps the worker from showing anything while the user-interface thread asks the user
// something, without waiting for the worker's read or hash to end: the worker stops
// before its next output (between blocks, holding no lock) and waits there until the
// answer.
#pragma once

#include <condition_variable>
#include <mutex>

class WorkerGate {
public:
    // User-interface thread: the worker starts no output until Release.
    void RequestHold();
    // An output started before the hold is still under way: a few control writes, which
    // the user-interface thread serves.
    bool IsWriting() const;
    // The worker has begun its last output (its rows or its error box): the work is over.
    bool IsFinishing() const;
    // The worker waits for Release before an output.
    bool IsHeld() const;
    // The worker goes on.
    void Release();

    // Worker thread: waits while a hold is requested, then marks an output as under way
    // until EndOutput.
    void BeginOutput();
    void EndOutput();
    // Worker thread: waits while a hold is requested, then marks the work as over.
    void BeginFinalOutput();

    // One output of the worker's, from construction to destruction.
    class Output {
    public:
        explicit Output(WorkerGate& gate) : m_gate(gate) { m_gate.BeginOutput(); }
        ~Output() { m_gate.EndOutput(); }
        Output(const Output&) = delete;
        Output& operator=(const Output&) = delete;

    private:
        WorkerGate& m_gate;
    };

private:
    void WaitWhileHeld(std::unique_lock<std::mutex>& lock);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_holdRequested = false;
    bool m_held = false;
    bool m_writing = false;
    bool m_finishing = false;
};
