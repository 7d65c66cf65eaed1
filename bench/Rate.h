// Throughput of a hash over the workers' 10 MiB read blocks: the median of several
// measurements, each feeding blocks for at least a minimum time. Built both natively
// and for Windows, so that the program's engine under Wine and the peers on the host
// are measured alike.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

#include "Has160.h"
#include "HashEngine.h"

namespace bench {

constexpr size_t kBlockBytes = 10 * 1024 * 1024;

// The hashes take the same time whatever the bytes are; any filling will do.
inline const std::vector<unsigned char>& Block()
{
    static const std::vector<unsigned char> block = [] {
        std::vector<unsigned char> bytes(kBlockBytes);
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<unsigned char>((i * 2654435761u) >> 13);
        return bytes;
    }();
    return block;
}

// Feeds one block to a running hash.
using FeedBlock = std::function<void(const unsigned char* data, size_t length)>;

// Median MB/s (10^6 bytes per second) of `repetitions` measurements.
inline double MedianRate(const FeedBlock& feed, int repetitions = 5,
                         std::chrono::milliseconds least = std::chrono::milliseconds(500))
{
    using Clock = std::chrono::steady_clock;
    std::vector<double> rates;
    for (int r = 0; r < repetitions; ++r) {
        size_t bytes = 0;
        const Clock::time_point start = Clock::now();
        Clock::duration spent{};
        do {
            feed(Block().data(), Block().size());
            bytes += Block().size();
            spent = Clock::now() - start;
        } while (spent < least);
        rates.push_back(static_cast<double>(bytes) / std::chrono::duration<double>(spent).count() / 1e6);
    }
    std::sort(rates.begin(), rates.end());
    return rates[rates.size() / 2];
}

// The program's own CRC-32 and HAS-160, each fed block after block.
inline double Crc32Rate()
{
    uint32_t crc = 0;
    return MedianRate([&](const unsigned char* data, size_t length) { crc = ComputeCrc32(data, length, crc); });
}

inline double Has160Rate()
{
    Has160Context context;
    Has160Init(context);
    return MedianRate([&](const unsigned char* data, size_t length) {
        Has160Update(context, data, static_cast<uint32_t>(length));
    });
}

// One line per hash: "rate NAME MB/S", read by scripts/bench.
inline void PrintRate(const char* name, double megabytesPerSecond)
{
    std::printf("rate %s %.1f\n", name, megabytesPerSecond);
    std::fflush(stdout);
}

}  // namespace bench
