// Hands each block of a file to every hash of a run at the same time. The caller's
// thread feeds the first consumer itself; each further consumer has a helper thread of
// its own, started with the object and ended with it. A block is handed on only once
// every consumer is done with the one before, so the caller may refill its buffer as
// soon as Feed returns.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class ParallelFeed {
public:
    // Takes one block; false when it could not (the run has failed). Must not throw.
    using Consumer = std::function<bool(const unsigned char* data, uint32_t length)>;

    explicit ParallelFeed(std::vector<Consumer> consumers);
    ~ParallelFeed();
    ParallelFeed(const ParallelFeed&) = delete;
    ParallelFeed& operator=(const ParallelFeed&) = delete;

    // Every consumer takes the block; returns once all are done with it: the index of
    // the first consumer, in their order, that failed, or -1.
    int Feed(const unsigned char* data, uint32_t length);

private:
    void HelperLoop(size_t consumer);

    std::vector<Consumer> m_consumers;
    std::vector<char> m_failed;             // by consumer, for the block at hand
    std::vector<size_t> m_onCallerThread;   // consumers without a helper
    std::vector<std::thread> m_helpers;

    std::mutex m_mutex;
    std::condition_variable m_blockReady;
    std::condition_variable m_blockDone;
    const unsigned char* m_data = nullptr;
    uint32_t m_length = 0;
    uint64_t m_block = 0;      // counts the blocks handed out
    size_t m_busyHelpers = 0;  // helpers still at the block at hand
    bool m_stop = false;
};
