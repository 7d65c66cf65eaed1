// Hands each block of a file to every hash of a run at the same time. With two or more
// consumers each has a helper thread of its own, started with the object and ended with
// it, so that the caller is free while they work; a single consumer runs on the caller's
// thread. A block is handed on only once every consumer is done with the one before.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class ParallelFeed {
public:
    // Takes one block; false when it could not (the run has failed). What it throws on a
    // helper thread is thrown again on the caller's, by Wait.
    using Consumer = std::function<bool(const unsigned char* data, uint32_t length)>;
    // Consumers past this many are fed on the caller's thread.
    static constexpr size_t kMostHelpers = 16;

    // Never fails: a consumer whose helper cannot be had (no thread, or no memory for
    // the thread's own state) is fed on the caller's thread, in turn.
    explicit ParallelFeed(std::vector<Consumer> consumers) noexcept;
    // Waits for a block still being taken, then ends the helpers.
    ~ParallelFeed();
    ParallelFeed(const ParallelFeed&) = delete;
    ParallelFeed& operator=(const ParallelFeed&) = delete;

    // Every consumer starts on the block, which must stay unchanged until Wait returns.
    // Throws what a consumer fed on this thread throws, what the threading library throws
    // (std::system_error, when it runs out of memory or handles), and what a helper threw
    // since: the feed then serves for nothing but its end.
    void Start(const unsigned char* data, uint32_t length);
    // Returns once every consumer is done with the block: the index of the first
    // consumer, in their order, that failed, or -1. Throws as Start does, and what a
    // helper threw while it took the block.
    int Wait();
    // Whether some consumer works beside the caller after Start has returned.
    bool HasHelpers() const { return m_helperCount > 0; }

private:
    bool HasHelper(size_t consumer) const;
    void HelperLoop(size_t consumer) noexcept;
    void TakeBlocks(size_t consumer);
    void GiveUp(size_t consumer, std::exception_ptr error) noexcept;
    bool SomeHelperGaveUp() const;
    void ThrowWhatAHelperThrew() const;
    void Record(size_t consumer, bool fed);
    void NoteResult(size_t consumer, bool fed);   // with the lock held

    std::vector<Consumer> m_consumers;
    // Helper i feeds consumer i; one not joinable was never started. A fixed array, so
    // that starting the helpers allocates nothing but what each thread needs itself.
    std::array<std::thread, kMostHelpers> m_helpers;
    size_t m_helperCount = 0;
    // What helper i threw as it gave up, written by that helper alone before it sets
    // m_gaveUp[i].
    std::array<std::exception_ptr, kMostHelpers> m_errors;
    std::array<std::atomic<bool>, kMostHelpers> m_gaveUp{};

    std::mutex m_mutex;
    std::condition_variable m_blockReady;
    std::condition_variable m_blockDone;
    const unsigned char* m_data = nullptr;
    uint32_t m_length = 0;
    uint64_t m_block = 0;         // counts the blocks handed out
    size_t m_busyHelpers = 0;     // helpers still at the block at hand
    size_t m_firstFailed = 0;     // of the block at hand; the consumer count when none failed
    std::atomic<bool> m_stop{false};
};
