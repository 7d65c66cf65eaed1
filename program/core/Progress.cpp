#include "Progress.h"

uint64_t FilePercentage(uint64_t size, uint64_t remaining)
{
    return size == 0 ? 0 : (size - remaining) * 100 / size;
}

bool ProgressUpdateDue(int32_t now, int32_t lastUpdate, uint64_t remaining, uint64_t percentage,
                       uint64_t lastPercentage)
{
    return now - lastUpdate > kProgressIntervalMs || remaining == 0 || percentage > lastPercentage;
}

int32_t ElapsedSeconds(int32_t now, int32_t start)
{
    return (now - start) / 1000;
}

int64_t SecondsLeft(uint64_t total, uint64_t done, int32_t elapsedSeconds)
{
    if (done == 0)
        return 0;
    return static_cast<int64_t>(total - done) * elapsedSeconds / static_cast<int64_t>(done);
}

TimeLeft SplitTimeLeft(int64_t left)
{
    const auto seconds = static_cast<int32_t>(left);
    const int32_t hours = seconds / 3600;
    const int32_t minutes = (seconds - hours * 3600) / 60;
    const int32_t rest = seconds - hours * 3600 - minutes * 60;
    const TimeLeftForm form = hours > 0     ? TimeLeftForm::HoursMinutesSeconds
                              : minutes > 0 ? TimeLeftForm::MinutesSeconds
                                            : TimeLeftForm::Seconds;
    return {form, hours, minutes, rest};
}
