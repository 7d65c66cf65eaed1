#include "WorkerGate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {
// Waits (bounded) until `condition` holds; false on timeout.
template <typename Condition>
bool Eventually(Condition condition)
{
    for (int i = 0; i < 2000; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}
}

TEST(WorkerGate, SafePointPassesFreelyWithoutHold)
{
    WorkerGate gate;
    gate.PassSafePoint();
    EXPECT_FALSE(gate.IsHeld());
}

TEST(WorkerGate, HoldStopsTheWorkerAtItsNextSafePointUntilReleased)
{
    WorkerGate gate;
    std::atomic<int> passed{0};
    std::atomic<bool> stop{false};
    gate.RequestHold();
    std::thread worker([&] {
        while (!stop) {
            gate.PassSafePoint();
            ++passed;
        }
    });
    ASSERT_TRUE(Eventually([&] { return gate.IsHeld(); }));
    const int whileHeld = passed;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(passed, whileHeld) << "a held worker must make no progress";

    gate.Release();
    ASSERT_TRUE(Eventually([&] { return passed > whileHeld; }));
    stop = true;
    worker.join();
    EXPECT_FALSE(gate.IsHeld());
}

TEST(WorkerGate, ReleaseBeforeTheSafePointLeavesTheWorkerRunning)
{
    WorkerGate gate;
    gate.RequestHold();
    gate.Release();
    gate.PassSafePoint();   // must not block
    EXPECT_FALSE(gate.IsHeld());
}
