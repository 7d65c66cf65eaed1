#include "ParallelFeed.h"

#include <algorithm>
#include <system_error>

ParallelFeed::ParallelFeed(std::vector<Consumer> consumers)
    : m_consumers(std::move(consumers)), m_failed(m_consumers.size(), 0)
{
    if (m_consumers.empty())
        return;
    m_onCallerThread.push_back(0);
    for (size_t i = 1; i < m_consumers.size(); ++i) {
        try {
            m_helpers.emplace_back(&ParallelFeed::HelperLoop, this, i);
        } catch (const std::system_error&) {
            m_onCallerThread.push_back(i);   // no thread to be had: fed in turn, as before
        }
    }
}

ParallelFeed::~ParallelFeed()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_blockReady.notify_all();
    for (std::thread& helper : m_helpers)
        helper.join();
}

int ParallelFeed::Feed(const unsigned char* data, uint32_t length)
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
    for (size_t consumer : m_onCallerThread) {
        const bool fed = m_consumers[consumer](data, length);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_failed[consumer] = !fed;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    m_blockDone.wait(lock, [this] { return m_busyHelpers == 0; });
    const auto first = std::find(m_failed.begin(), m_failed.end(), 1);
    return first == m_failed.end() ? -1 : static_cast<int>(first - m_failed.begin());
}

void ParallelFeed::HelperLoop(size_t consumer)
{
    uint64_t done = 0;   // the last block this helper took
    for (;;) {
        const unsigned char* data;
        uint32_t length;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_blockReady.wait(lock, [&] { return m_stop || m_block != done; });
            if (m_stop)
                return;
            done = m_block;
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
            m_blockDone.notify_one();
    }
}
