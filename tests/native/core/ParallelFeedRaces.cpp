// ParallelFeed under ThreadSanitizer: blocks handed to many consumers, the buffer
// refilled between them, the feed ended with a block in flight; then a run in which one
// helper throws part-way and the caller gets the exception. A data race ends the run
// with ThreadSanitizer's report (halt_on_error), a wrong sum or a lost exception with
// exit code 1.
#include "ParallelFeed.h"

#include <cstdio>
#include <numeric>
#include <stdexcept>
#include <vector>

namespace {

constexpr size_t kConsumers = 9;
constexpr unsigned kBlocks = 500;

int EveryBlockToEveryConsumer()
{
    std::vector<unsigned char> buffer(64 * 1024);
    std::vector<uint64_t> sums(kConsumers, 0);
    uint64_t expected = 0;
    {
        std::vector<ParallelFeed::Consumer> consumers;
        for (size_t i = 0; i < kConsumers; ++i)
            consumers.push_back([&sums, i](const unsigned char* data, uint32_t length) {
                sums[i] += std::accumulate(data, data + length, uint64_t{0});
                return i != 4;
            });
        ParallelFeed feed(std::move(consumers));
        for (unsigned block = 0; block < kBlocks; ++block) {
            for (size_t j = 0; j < buffer.size(); ++j)
                buffer[j] = static_cast<unsigned char>(block + j);
            expected += std::accumulate(buffer.begin(), buffer.end(), uint64_t{0});
            feed.Start(buffer.data(), static_cast<uint32_t>(buffer.size()));
            if (block + 1 == kBlocks)
                break;   // ended with the last block in flight
            if (feed.Wait() != 4)
                return 1;
        }
    }
    for (uint64_t sum : sums) {
        if (sum != expected) {
            std::fprintf(stderr, "a consumer saw %llu, not %llu\n", static_cast<unsigned long long>(sum),
                         static_cast<unsigned long long>(expected));
            return 1;
        }
    }
    return 0;
}

int AHelperThrowsPartWay()
{
    constexpr unsigned kThrowingBlock = 250;
    std::vector<unsigned char> buffer(64 * 1024);
    unsigned thrownAt = 0;
    {
        std::vector<ParallelFeed::Consumer> consumers;
        for (size_t i = 0; i < kConsumers; ++i)
            consumers.push_back([i, block = 0u](const unsigned char* data, uint32_t length) mutable {
                if (i == 6 && ++block == kThrowingBlock)
                    throw std::runtime_error("consumer 6 gives up");
                return std::accumulate(data, data + length, uint64_t{0}) != 1;
            });
        ParallelFeed feed(std::move(consumers));
        for (unsigned block = 1; block <= kBlocks && thrownAt == 0; ++block) {
            for (size_t j = 0; j < buffer.size(); ++j)
                buffer[j] = static_cast<unsigned char>(block + j);
            try {
                feed.Start(buffer.data(), static_cast<uint32_t>(buffer.size()));
                feed.Wait();
            } catch (const std::runtime_error&) {
                thrownAt = block;
            }
        }
    }
    if (thrownAt != kThrowingBlock) {
        std::fprintf(stderr, "the helper's exception came at block %u, not %u\n", thrownAt, kThrowingBlock);
        return 1;
    }
    return 0;
}

}  // namespace

int main()
{
    return EveryBlockToEveryConsumer() != 0 || AHelperThrowsPartWay() != 0 ? 1 : 0;
}
