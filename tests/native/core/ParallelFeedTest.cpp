#include "ParallelFeed.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <numeric>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Threads of this process, as Linux counts them.
int ThreadCount()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("Threads:", 0) == 0)
            return std::stoi(line.substr(8));
    return -1;
}

// What one consumer saw: the sum of each block's bytes, in the order of the blocks.
struct Seen {
    std::vector<uint64_t> sums;
    std::thread::id thread;
};

ParallelFeed::Consumer Recorder(Seen& seen)
{
    return [&seen](const unsigned char* data, uint32_t length) {
        seen.sums.push_back(std::accumulate(data, data + length, uint64_t{0}));
        seen.thread = std::this_thread::get_id();
        return true;
    };
}

TEST(ParallelFeed, EveryConsumerTakesEveryBlockOnceInOrderBeforeFeedReturns)
{
    std::vector<Seen> seen(5);
    std::vector<ParallelFeed::Consumer> consumers;
    for (Seen& s : seen)
        consumers.push_back(Recorder(s));
    ParallelFeed feed(std::move(consumers));

    std::vector<unsigned char> buffer(4096);
    std::vector<uint64_t> expected;
    for (unsigned block = 0; block < 200; ++block) {
        // One buffer refilled for every block, as the workers do.
        for (size_t i = 0; i < buffer.size(); ++i)
            buffer[i] = static_cast<unsigned char>(block * 7 + i);
        const uint32_t length = 1 + block * 13 % 4096;
        expected.push_back(std::accumulate(buffer.begin(), buffer.begin() + length, uint64_t{0}));
        feed.Start(buffer.data(), length);
        ASSERT_EQ(feed.Wait(), -1);
        for (const Seen& s : seen)
            ASSERT_EQ(s.sums.size(), expected.size()) << "Wait returned before every consumer took the block";
    }
    for (const Seen& s : seen) {
        EXPECT_EQ(s.sums, expected);
        EXPECT_NE(s.thread, std::this_thread::get_id()) << "each consumer has a helper";
    }
}

TEST(ParallelFeed, ALoneConsumerRunsOnTheCallersThreadWithinStart)
{
    Seen seen;
    ParallelFeed feed({Recorder(seen)});
    const unsigned char bytes[3] = {1, 2, 3};
    feed.Start(bytes, sizeof bytes);
    EXPECT_EQ(seen.sums, std::vector<uint64_t>{6});
    EXPECT_EQ(seen.thread, std::this_thread::get_id());
    EXPECT_EQ(feed.Wait(), -1);
}

TEST(ParallelFeed, TheCallerIsFreeWhileTheHelpersWork)
{
    // The consumers wait, up to a limit, for what the caller does after Start.
    std::atomic<bool> callerWentOn{false};
    std::atomic<int> waitedInVain{0};
    std::vector<ParallelFeed::Consumer> consumers(3, [&](const unsigned char*, uint32_t) {
        const auto limit = std::chrono::steady_clock::now() + 10s;
        while (!callerWentOn && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(1ms);
        waitedInVain += !callerWentOn;
        return true;
    });
    ParallelFeed feed(std::move(consumers));
    const unsigned char byte = 0;
    feed.Start(&byte, 1);
    callerWentOn = true;
    EXPECT_EQ(feed.Wait(), -1);
    EXPECT_EQ(waitedInVain, 0);
}

TEST(ParallelFeed, ConsumersTakeABlockAtTheSameTime)
{
    // Each consumer waits, up to a limit, until all have begun the block: in turn, the
    // first would wait in vain.
    constexpr int kConsumers = 4;
    std::atomic<int> arrived{0};
    std::atomic<int> waitedInVain{0};
    std::vector<ParallelFeed::Consumer> consumers(kConsumers, [&](const unsigned char*, uint32_t) {
        ++arrived;
        const auto limit = std::chrono::steady_clock::now() + 10s;
        while (arrived < kConsumers && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(1ms);
        if (arrived < kConsumers)
            ++waitedInVain;
        return true;
    });
    ParallelFeed feed(std::move(consumers));
    const unsigned char byte = 0;
    feed.Start(&byte, 1);
    EXPECT_EQ(feed.Wait(), -1);
    EXPECT_EQ(waitedInVain, 0);
}

TEST(ParallelFeed, ReportsTheFirstFailingConsumerInTheirOrder)
{
    struct Case {
        std::vector<bool> fails;
        int reported;
    };
    const Case cases[] = {
        {{false, false, false, false}, -1},
        {{true, false, false, false}, 0},
        {{false, true, false, true}, 1},
        {{false, false, false, true}, 3},
        {{}, -1},
    };
    for (const Case& c : cases) {
        std::vector<ParallelFeed::Consumer> consumers;
        for (size_t i = 0; i < c.fails.size(); ++i) {
            const bool fails = c.fails[i];
            // The later failure comes first in time: the order of the list decides.
            consumers.push_back([fails, i](const unsigned char*, uint32_t) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20 - 5 * static_cast<int>(i)));
                return !fails;
            });
        }
        ParallelFeed feed(std::move(consumers));
        const unsigned char byte = 0;
        feed.Start(&byte, 1);
        EXPECT_EQ(feed.Wait(), c.reported) << "with " << c.fails.size() << " consumers";
    }
}

TEST(ParallelFeed, HelpersLiveExactlyAsLongAsTheObject)
{
    struct Case {
        size_t consumers;
        int helpers;
        int blocks;
        bool lastInFlight;   // ended between Start and Wait
    };
    // Past the most helpers, consumers are fed on the caller's thread.
    const Case cases[] = {{1, 0, 1, false}, {2, 2, 0, false}, {2, 2, 3, false}, {9, 9, 2, true}, {17, 16, 2, false}};
    const int before = ThreadCount();
    ASSERT_GT(before, 0);
    for (const Case& c : cases) {
        std::atomic<int> taken{0};
        {
            ParallelFeed feed(std::vector<ParallelFeed::Consumer>(c.consumers, [&](const unsigned char*, uint32_t) {
                std::this_thread::sleep_for(5ms);
                ++taken;
                return true;
            }));
            EXPECT_EQ(ThreadCount(), before + c.helpers) << c.consumers << " consumers";
            const unsigned char byte = 0;
            for (int block = 0; block < c.blocks; ++block) {
                feed.Start(&byte, 1);
                if (!c.lastInFlight || block + 1 < c.blocks)
                    feed.Wait();
            }
        }
        EXPECT_EQ(taken, static_cast<int>(c.consumers) * c.blocks) << "a block was left unfinished";
        EXPECT_EQ(ThreadCount(), before) << "helpers left after " << c.consumers << " consumers";
    }
}

TEST(ParallelFeed, WhatAConsumerThrowsReachesTheCallerAndTheFeedStillEnds)
{
    // As mingw's threading library throws when it cannot set a mutex up.
    const std::system_error kFailure(std::make_error_code(std::errc::not_enough_memory));
    struct Case {
        const char* where;
        size_t consumers;
        size_t thrower;
        bool fromWait;     // a helper's exception comes with Wait, the caller's thread's with Start
        int othersTaken;   // -1: however many took the block before the helper gave up
    };
    const Case cases[] = {
        {"on a helper", 4, 2, true, -1},
        {"on the caller's thread, alone", 1, 0, false, 0},
        {"on the caller's thread, past the helpers", 17, 16, false, 16},
    };
    const int before = ThreadCount();
    ASSERT_GT(before, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        std::atomic<int> taken{0};
        {
            std::vector<ParallelFeed::Consumer> consumers;
            for (size_t i = 0; i < c.consumers; ++i) {
                consumers.push_back([&, i](const unsigned char*, uint32_t) {
                    if (i == c.thrower)
                        throw kFailure;
                    std::this_thread::sleep_for(5ms);
                    ++taken;
                    return true;
                });
            }
            ParallelFeed feed(std::move(consumers));
            const unsigned char byte = 0;
            bool thrownByStart = false;
            try {
                feed.Start(&byte, 1);
            } catch (const std::system_error& error) {
                EXPECT_EQ(error.code(), kFailure.code());
                thrownByStart = true;
            }
            EXPECT_EQ(thrownByStart, !c.fromWait);
            if (c.fromWait) {
                EXPECT_THROW(feed.Wait(), std::system_error);
                EXPECT_THROW(feed.Start(&byte, 1), std::system_error) << "the feed serves for nothing but its end";
            }
        }
        if (c.othersTaken >= 0) {
            EXPECT_EQ(taken, c.othersTaken) << "the helpers finish the block before they end";
        }
        EXPECT_EQ(ThreadCount(), before) << "helpers left";
    }
}

}  // namespace
