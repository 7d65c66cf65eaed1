#include "ParallelFeed.h"

#include <algorithm>
#include <exception>

ParallelFeed::ParallelFeed(std::vector<Consumer> consumers) noexcept
    : m_consumers(std::move(consumers)), m_firstFailed(m_consumers.size())
{
    if (m_consumers.size() < 2)
        return;
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
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_blockDone.wait(lock, [this] { return m_busyHelpers == 0; });
        m_stop = true;
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
    {
        std::lock_guard<std::mutex> lock(m_mutex);
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
    m_blockDone.wait(lock, [this] { return m_busyHelpers == 0; });
    return m_firstFailed == m_consumers.size() ? -1 : static_cast<int>(m_firstFailed);
}

void ParallelFeed::Record(size_t consumer, bool fed)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    NoteResult(consumer, fed);
}

void ParallelFeed::NoteResult(size_t consumer, bool fed)
{
    if (!fed)
        m_firstFailed = std::min(m_firstFailed, consumer);
}

void ParallelFeed::HelperLoop(size_t consumer)
{
    uint64_t taken = 0;   // the last block this helper took
    for (;;) {
        const unsigned char* data;
        uint32_t length;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_blockReady.wait(lock, [&] { return m_stop || m_block != taken; });
            if (m_stop)
                return;
            taken = m_block;
            data = m_data;
            length = m_length;
        }
        const bool fed = m_consumers[consumer](data, length);
        bool last;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            NoteResult(consumer, fed);
            last = --m_busyHelpers == 0;
        }
        if (last)
            m_blockDone.notify_all();
    }
}
