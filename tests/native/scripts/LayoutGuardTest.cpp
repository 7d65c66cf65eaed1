// The decision of the guard that scripts/wine-exec preloads into every Wine process where
// address randomization stays on. Its source is built into this test, whose own heap lies far
// from Wine's shared user data, so that the guard's constructor lets the test run.
#include "wine-layout-guard.c"

#include <gtest/gtest.h>

namespace {

TEST(LayoutGuard, StartsAgainOnlyWhereAHeapPlacedAtRandomMayReachTheSharedUserData)
{
    constexpr uintptr_t kUnmovedHeap = 0x7d005000;   // Wine's loader's heap where nothing moves it
    constexpr int kUnknown = -1;
    struct Case {
        const char* what;
        uintptr_t heap;
        int soFar;
        int persona;
        char randomizeLevel;
        bool again;
    };
    const Case cases[] = {
        {"placed at random, in reach", kUnmovedHeap, 0, 0, '2', true},
        {"personality unknown", kUnmovedHeap, 0, kUnknown, '2', true},
        {"the margin's lowest start", 0x7bfe0001, 0, 0, '2', true},
        {"just below the margin", 0x7bfe0000, 0, 0, '2', false},
        {"the shared user data's last byte", 0x7ffeffff, 0, 0, '2', true},
        {"past the shared user data", 0x7fff0000, 0, 0, '2', false},
        {"a heap far away", 0x555555560000, 0, 0, '2', false},
        {"ADDR_NO_RANDOMIZE", kUnmovedHeap, 0, ADDR_NO_RANDOMIZE, '2', false},
        {"ADDR_NO_RANDOMIZE among other flags", kUnmovedHeap, 0, ADDR_NO_RANDOMIZE | 0x8, '2', false},
        {"randomize_va_space 1: the heap stays", kUnmovedHeap, 0, 0, '1', false},
        {"randomize_va_space 0", kUnmovedHeap, 0, 0, '0', false},
        {"the eighth start again", kUnmovedHeap, 7, 0, '2', true},
        {"no ninth", kUnmovedHeap, 8, 0, '2', false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(starts_again(c.heap, c.soFar, c.persona, c.randomizeLevel) != 0, c.again) << c.what;
}

}  // namespace
