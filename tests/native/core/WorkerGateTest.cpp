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

TEST(WorkerGate, OutputsPassFreelyWithoutHold)
{
    WorkerGate gate;
    {
        const WorkerGate::Output output(gate);
        EXPECT_TRUE(gate.IsWriting());
    }
    EXPECT_FALSE(gate.IsWriting());
    EXPECT_FALSE(gate.IsHeld());
    gate.BeginFinalOutput();
    EXPECT_TRUE(gate.IsFinishing());
}

TEST(WorkerGate, HoldStopsTheWorkerBeforeItsNextOutputUntilReleased)
{
    WorkerGate gate;
    std::atomic<int> passed{0};
    std::atomic<bool> stop{false};
    gate.RequestHold();
    std::thread worker([&] {
        while (!stop) {
            const WorkerGate::Output output(gate);
            ++passed;
        }
    });
    ASSERT_TRUE(Eventually([&] { return gate.IsHeld(); }));
    EXPECT_FALSE(gate.IsWriting()) << "a held worker is not counted as writing";
    const int whileHeld = passed;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(passed, whileHeld) << "a held worker must make no progress";

    gate.Release();
    ASSERT_TRUE(Eventually([&] { return passed > whileHeld; }));
    stop = true;
    worker.join();
    EXPECT_FALSE(gate.IsHeld());
}

TEST(WorkerGate, AnOutputUnderWayWhenTheHoldComesEndsAndTheNextWaits)
{
    WorkerGate gate;
    std::atomic<bool> mayEnd{false};
    std::atomic<int> outputs{0};
    gate.BeginOutput();
    std::thread worker([&] {
        while (!mayEnd) {
        }
        gate.EndOutput();
        const WorkerGate::Output next(gate);
        ++outputs;
    });
    gate.RequestHold();
    EXPECT_TRUE(gate.IsWriting());
    mayEnd = true;
    ASSERT_TRUE(Eventually([&] { return gate.IsHeld(); }));
    EXPECT_EQ(outputs, 0);
    gate.Release();
    worker.join();
    EXPECT_EQ(outputs, 1);
}

TEST(WorkerGate, TheLastOutputWaitsForTheAnswerThenMarksTheWorkOver)
{
    WorkerGate gate;
    gate.RequestHold();
    std::thread worker([&] { gate.BeginFinalOutput(); });
    ASSERT_TRUE(Eventually([&] { return gate.IsHeld(); }));
    EXPECT_FALSE(gate.IsFinishing()) << "the work is not over while the question is open";
    gate.Release();
    worker.join();
    EXPECT_TRUE(gate.IsFinishing());
}

TEST(WorkerGate, ReleaseBeforeTheOutputLeavesTheWorkerRunning)
{
    WorkerGate gate;
    gate.RequestHold();
    gate.Release();
    const WorkerGate::Output output(gate);   // must not block
    EXPECT_FALSE(gate.IsHeld());
}
