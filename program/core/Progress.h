// Progress arithmetic of the hashing workers: when the display changes, the
// percentage and the estimate of the time left. Clock values are the C runtime's
// clock(): milliseconds since the process started, as a signed 32-bit number.
#pragma once

#include <cstdint>

inline constexpr int32_t kProgressIntervalMs = 250;

// (size - remaining) * 100 / size, truncated; 0 for an empty file.
uint64_t FilePercentage(uint64_t size, uint64_t remaining);

// After each block: more than 250 ms since the last update, the file has ended, or
// the percentage has risen.
bool ProgressUpdateDue(int32_t now, int32_t lastUpdate, uint64_t remaining, uint64_t percentage,
                       uint64_t lastPercentage);

// Whole seconds since `start`, truncated toward zero.
int32_t ElapsedSeconds(int32_t now, int32_t start);

// (total - done) * elapsed / done in signed 64-bit arithmetic, truncated; 0 when
// nothing is done yet.
int64_t SecondsLeft(uint64_t total, uint64_t done, int32_t elapsedSeconds);

// Which of the three time-left texts is shown, and its numbers.
enum class TimeLeftForm { HoursMinutesSeconds, MinutesSeconds, Seconds };
struct TimeLeft {
    TimeLeftForm form;
    int32_t hours;
    int32_t minutes;
    int32_t seconds;
};
// `left` narrowed to 32 bits and split into hours, minutes and seconds.
TimeLeft SplitTimeLeft(int64_t left);
