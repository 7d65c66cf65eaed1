#include "RandomRange.h"

uint32_t ReseedValue(int firstRand, uint32_t tickCount)
{
    const auto scaled = static_cast<int32_t>(static_cast<double>(firstRand * 32767) * kOneOver32768);
    return static_cast<uint32_t>(scaled) + tickCount;
}

int DrawInRange(int secondRand, int lo, int hi)
{
    return static_cast<int>(static_cast<double>(secondRand * (hi - lo + 1)) * kOneOver32768 + lo);
}
