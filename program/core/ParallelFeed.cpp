#include "ParallelFeed.h"

#include <algorithm>
#include <chrono>

namespace {

// Whoever makes `done` come true says so under the lock where it can have it. A lock can
// fail as well (std::system_error, when the threading library runs out of memory or
// handles), and then nothing may wake the waiter: so it also looks again now and then.
template <typename Done>
void WaitUntil(std::condition_variable& event, std::unique_lock<std::mutex>& lock, Done done)
{
    constexpr std::chrono::milliseconds kLookAgain{100};
    while (!event.wait_for(lock, kLookAgain, done)) {
    }
}

}  // namespace

ParallelFeed::ParallelFeed(std::vector<Consumer> consumers) noexcept
    : m_consumers(std::move(consumers)), m_firstFailed(m_consumers.size())
{
    if (m_consumers.size() < 2)
        return;
    // mingw's threading library sets a mutex up on its first lock, allocating, and throws
    // std::system_error when it cannot. That lock is taken here, before any helper exists,
    // so that no helper meets the failure: without the mutex no helper starts, and the
    // caller meets the failure in Start.
    try {
        const std::lock_guard<std::mutex> lock(m_mutex);
    } catch (const std::exception&) {
        return;
    }
    const size_t helpers = std::min(m_consumers.size(), kMostHelpers);
    for (size_t i = 0; i < helpers; ++i) {
        try {
            m_helpers[i] = std::thread(&ParallelFeed::HelperLoop, this, i);
            ++m_helperCount;
        } catch (const std::exception&) {
            // No thread, or no memory for its state: this consumer is fed in turn.
        }
    }
}

ParallelFeed::~ParallelFeed()
{
    try {
        std::unique_lock<std::mutex> lock(m_mutex);
        // A helper that gave up never finishes its block: then the others are not waited
        // for here, only joined.
        WaitUntil(m_blockDone, lock, [this] { return m_busyHelpers == 0 || SomeHelperGaveUp(); });
        m_stop = true;
    } catch (const std::exception&) {
        m_stop = true;   // without the lock: the helpers see it when they look again
    }
    m_blockReady.notify_all();
    for (std::thread& helper : m_helpers) {
        if (helper.joinable())
            helper.join();
    }
}

bool ParallelFeed::HasHelper(size_t consumer) const
{
    return consumer < kMostHelpers && m_helpers[consumer].joinable();
}

void ParallelFeed::Start(const unsigned char* data, uint32_t length)
{
    ThrowWhatAHelperThrew();
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_data = data;
        m_length = length;
        m_busyHelpers = m_helperCount;
        m_firstFailed = m_consumers.size();
        ++m_block;
    }
    m_blockReady.notify_all();
    for (size_t consumer = 0; consumer < m_consumers.size(); ++consumer) {
        if (!HasHelper(consumer))
            Record(consumer, m_consumers[consumer](data, length));
    }
}

int ParallelFeed::Wait()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    WaitUntil(m_blockDone, lock, [this] { return m_busyHelpers == 0 || SomeHelperGaveUp(); });
    ThrowWhatAHelperThrew();
    return m_firstFailed == m_consumers.size() ? -1 : static_cast<int>(m_firstFailed);
}

void ParallelFeed::Record(size_t consumer, bool fed)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    NoteResult(consumer, fed);
}

void ParallelFeed::NoteResult(size_t consumer, bool fed)
{
    if (!fed)
        m_firstFailed = std::min(m_firstFailed, consumer);
}

bool ParallelFeed::SomeHelperGaveUp() const
{
    return std::any_of(m_gaveUp.begin(), m_gaveUp.end(), [](const std::atomic<bool>& gaveUp) { return gaveUp.load(); });
}

void ParallelFeed::ThrowWhatAHelperThrew() const
{
    for (size_t helper = 0; helper < kMostHelpers; ++helper) {
        if (m_gaveUp[helper])
            std::rethrow_exception(m_errors[helper]);
    }
}

void ParallelFeed::HelperLoop(size_t consumer) noexcept
{
    try {
        TakeBlocks(consumer);
    } catch (...) {
        GiveUp(consumer, std::current_exception());
    }
}

void ParallelFeed::TakeBlocks(size_t consumer)
{
    uint64_t taken = 0;   // the last block this helper took
    for (;;) {
        const unsigned char* data;
        uint32_t length;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            WaitUntil(m_blockReady, lock, [&] { return m_stop || m_block != taken; });
            if (m_stop)
                return;
            taken = m_block;
            data = m_data;
            length = m_length;
        }
        const bool fed = m_consumers[consumer](data, length);
        bool last;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            NoteResult(consumer, fed);
            last = --m_busyHelpers == 0;
        }
        if (last)
            m_blockDone.notify_all();
    }
}

// The helper takes no block after this; the caller's next Wait or Start throws `error`.
void ParallelFeed::GiveUp(size_t consumer, std::exception_ptr error) noexcept
{
    m_errors[consumer] = std::move(error);
    try {
        // Under the lock, so that a waiter that looks at the flags cannot miss it.
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_gaveUp[consumer] = true;
    } catch (const std::exception&) {
        m_gaveUp[consumer] = true;
    }
    m_blockDone.notify_all();
}
