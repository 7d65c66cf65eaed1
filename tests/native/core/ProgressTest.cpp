#include "Progress.h"

#include <gtest/gtest.h>

TEST(SplitTimeLeft, ChoosesTheTextByWholeHoursAndMinutes)
{
    struct Case { int64_t left; TimeLeftForm form; int32_t h, m, s; };
    const Case cases[] = {
        {3600, TimeLeftForm::HoursMinutesSeconds, 1, 0, 0},
        {3599, TimeLeftForm::MinutesSeconds, 0, 59, 59},
        {3661, TimeLeftForm::HoursMinutesSeconds, 1, 1, 1},
        {60, TimeLeftForm::MinutesSeconds, 0, 1, 0},
        {59, TimeLeftForm::Seconds, 0, 0, 59},
        {0, TimeLeftForm::Seconds, 0, 0, 0},
        {90061, TimeLeftForm::HoursMinutesSeconds, 25, 1, 1},
    };
    for (const Case& c : cases) {
        const TimeLeft t = SplitTimeLeft(c.left);
        EXPECT_EQ(t.form, c.form) << c.left;
        EXPECT_EQ(t.hours, c.h) << c.left;
        EXPECT_EQ(t.minutes, c.m) << c.left;
        EXPECT_EQ(t.seconds, c.s) << c.left;
    }
}

TEST(SecondsLeft, UsesTheFull64BitCountsAboveFourGiB)
{
    const uint64_t GiB = 1ull << 30;
    // 5 of 20 GiB done in 100 s: 300 s left. A 32-bit count would wrap here.
    EXPECT_EQ(SecondsLeft(20 * GiB, 5 * GiB, 100), 300);
    EXPECT_EQ(SecondsLeft(6 * GiB, 4 * GiB + 1, 40), 19);
    EXPECT_EQ(SecondsLeft(10, 10, 5), 0) << "nothing left at the end";
    EXPECT_EQ(SecondsLeft(1000, 1, 0), 0) << "no whole second elapsed yet";
    EXPECT_EQ(SecondsLeft(1000, 0, 7), 0) << "nothing read yet";
}

TEST(FilePercentage, TruncatesAndReachesExactly100)
{
    EXPECT_EQ(FilePercentage(3, 2), 33u);
    EXPECT_EQ(FilePercentage(3, 0), 100u);
    EXPECT_EQ(FilePercentage(5ull << 32, 1ull << 32), 80u) << "beyond 4 GiB";
    EXPECT_EQ(FilePercentage(0, 0), 0u);
}

TEST(ProgressUpdateDue, AfterMoreThan250msAtTheEndOrWhenThePercentageRises)
{
    EXPECT_FALSE(ProgressUpdateDue(1250, 1000, 5, 10, 10)) << "exactly 250 ms is not more";
    EXPECT_TRUE(ProgressUpdateDue(1251, 1000, 5, 10, 10));
    EXPECT_TRUE(ProgressUpdateDue(1000, 1000, 0, 10, 10)) << "the last block always updates";
    EXPECT_TRUE(ProgressUpdateDue(1000, 1000, 5, 11, 10));
    EXPECT_FALSE(ProgressUpdateDue(1000, 1000, 5, 9, 10)) << "a lower percentage (next file) waits";
}

TEST(ElapsedSeconds, TruncatesTowardZero)
{
    EXPECT_EQ(ElapsedSeconds(1999, 1000), 0);
    EXPECT_EQ(ElapsedSeconds(2000, 1000), 1);
    EXPECT_EQ(ElapsedSeconds(61500, 0), 61);
}
