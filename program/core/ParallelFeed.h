// Hands each block of a file to every hash of a run at the same time. With two or more
// consumers each has a helper thread of its own, started with the object and ended with
// it, so that the caller is free while they work; a single consumer runs on the caller's
// thread. A block is handed on only once every consumer is done with the one before.
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
    // Waits for a block still being taken, then ends the helpers.
    ~ParallelFeed();
    ParallelFeed(const ParallelFeed&) = delete;
    ParallelFeed& operator=(const ParallelFeed&) = delete;

    // Every consumer starts on the block, which must stay unchanged until Wait returns.
    void Start(const unsigned char* data, uint32_t length);
    // Returns once every consumer is done with the block: the index of the first
    // consumer, in their order, that failed, or -1.
    int Wait();

private:
    void HelperLoop(size_t consumer);
    void Record(size_t consumer, bool fed);

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
