// Little-endian words read from and written to byte buffers of any alignment.
#pragma once

#include <cstdint>
#include <cstring>

// Both targets (x86-64 Linux for tests, x86-64 Windows) are little-endian, so a
// plain copy is the byte order the hashes ask for and compiles to one move.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "little-endian host expected");

inline uint32_t LoadLe32(const unsigned char* bytes)
{
    uint32_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

inline uint64_t LoadLe64(const unsigned char* bytes)
{
    uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

inline void StoreLe32(unsigned char* bytes, uint32_t word)
{
    std::memcpy(bytes, &word, sizeof word);
}
