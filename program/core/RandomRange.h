// The arithmetic of GetRandomInRange, apart from the C runtime's generator and the
// tick count so that it can be checked with fixed values.
#pragma once

#include <cstdint>

inline constexpr double kOneOver32768 = 3.0517578125e-05;   // 2^-15

// The next seed: rand() scaled by 32767 / 32768, plus the tick count (32-bit wrap).
uint32_t ReseedValue(int firstRand, uint32_t tickCount);
// lo + floor(secondRand * (hi - lo + 1) / 32768), computed as the platform code does.
int DrawInRange(int secondRand, int lo, int hi);
