// HAS-160, the 160-bit hash of the Korean standard TTAS.KO-12.0011/R2.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kHas160BlockBytes = 64;
constexpr size_t kHas160DigestBytes = 20;

// One running digest; plain data, no clean-up.
struct Has160Context {
    uint32_t state[5];      // chaining value H0..H4
    uint32_t countLow;      // message length in bits, low word
    uint32_t countHigh;     // message length in bits, high word
    // The first (countLow >> 3) % 64 bytes are taken but not yet compressed.
    unsigned char buffer[kHas160BlockBytes];
};

void Has160Init(Has160Context& context);
void Has160Update(Has160Context& context, const void* data, uint32_t length);
// Pads, compresses the last block(s) and writes H0..H4, least significant byte first.
// The context is finished afterwards: its buffer holds the last block.
void Has160Final(Has160Context& context, unsigned char (&digest)[kHas160DigestBytes]);
// Compresses the 64 bytes of the context's buffer into its state.
void Has160Transform(Has160Context& context);
