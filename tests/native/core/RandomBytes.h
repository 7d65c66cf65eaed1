// Reproducible pseudo-random test input.
#pragma once

#include <cstddef>
#include <random>
#include <vector>

inline std::vector<unsigned char> RandomBytes(size_t length, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<unsigned char> bytes(length);
    for (unsigned char& b : bytes)
        b = static_cast<unsigned char>(random());
    return bytes;
}
