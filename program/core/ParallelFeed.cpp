#include "ParallelFeed.h"

#include <algorithm>
#include <system_error>

ParallelFeed::ParallelFeed(std::vector<Consumer> consumers)
    : m_consumers(std::move(consumers)), m_failed(m_consumers.size(), 0)
{
    if (m_consumers.size() == 1) {
        m_onCallerThread.push_back(0);
        return;
    }
    for (size_t i = 0; i < m_consumers.size(); ++i) {
        try {
            m_helpers.emplace_back(&ParallelFeed::HelperLoop, this, i);
        } catch (const std::system_error&) {
            m_onCallerThread.push_back(i);   // no thread to be had: fed in turn, as by one thread
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
    for (std::thread& helper : m_helpers)
        helper.join();
}

void ParallelFeed::Start(const unsigned char* data, uint32_t length)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_data = data;
        m_length = length;
        m_busyHelpers = m_helpers.size();
        std::fill(m_failed.begin(), m_failed.end(), 0);
        ++m_block;
    }
    m_blockReady.notify_all();
    for (size_t consumer : m_onCallerThread)
        Record(consumer, m_consumers[consumer](data, length));
}

int ParallelFeed::Wait()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_blockDone.wait(lock, [this] { return m_busyHelpers == 0; });
    const auto first = std::find(m_failed.begin(), m_failed.end(), 1);
    return first == m_failed.end() ? -1 : static_cast<int>(first - m_failed.begin());
}

void ParallelFeed::Record(size_t consumer, bool fed)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_failed[consumer] = !fed;
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
            m_failed[consumer] = !fed;
            last = --m_busyHelpers == 0;
        }
        if (last)
            m_blockDone.notify_all();
    }
}
