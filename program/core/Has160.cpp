#include "Has160.h"

#include "LittleEndian.h"

#include <cstring>

namespace {

constexpr uint32_t Rotl(uint32_t x, unsigned n)
{
    return (x << n) | (x >> (32 - n));
}

constexpr uint32_t F1(uint32_t x, uint32_t y, uint32_t z) { return (x & y) | (~x & z); }
// Rounds 2 and 4 share one function.
constexpr uint32_t F2(uint32_t x, uint32_t y, uint32_t z) { return x ^ y ^ z; }
constexpr uint32_t F3(uint32_t x, uint32_t y, uint32_t z) { return y ^ (x | ~z); }

constexpr uint32_t K1 = 0x00000000;
constexpr uint32_t K2 = 0x5A827999;
constexpr uint32_t K3 = 0x6ED9EBA1;
constexpr uint32_t K4 = 0x8F1BBCDC;

void CopyIntoBuffer(Has160Context& context, size_t at, const unsigned char* bytes, size_t count)
{
    std::memcpy(context.buffer + at, bytes, count);
}

} // namespace

void Has160Init(Has160Context& context)
{
    context.state[0] = 0x67452301;
    context.state[1] = 0xEFCDAB89;
    context.state[2] = 0x98BADCFE;
    context.state[3] = 0x10325476;
    context.state[4] = 0xC3D2E1F0;
    context.countLow = 0;
    context.countHigh = 0;
}

void Has160Update(Has160Context& context, const void* data, uint32_t length)
{
    if (length == 0)
        return;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    const size_t pending = (context.countLow >> 3) & 63;
    const size_t room = kHas160BlockBytes - pending;

    const uint32_t bits = length << 3;
    context.countLow += bits;
    if (context.countLow < bits)
        ++context.countHigh;
    context.countHigh += length >> 29;

    if (length < room) {
        CopyIntoBuffer(context, pending, bytes, length);
        return;
    }
    CopyIntoBuffer(context, pending, bytes, room);
    Has160Transform(context);
    size_t taken = room;
    for (; taken + kHas160BlockBytes <= length; taken += kHas160BlockBytes) {
        CopyIntoBuffer(context, 0, bytes + taken, kHas160BlockBytes);
        Has160Transform(context);
    }
    CopyIntoBuffer(context, 0, bytes + taken, length - taken);
}

void Has160Final(Has160Context& context, unsigned char (&digest)[kHas160DigestBytes])
{
    constexpr size_t countAt = kHas160BlockBytes - 8;
    const size_t pending = (context.countLow >> 3) & 63;
    context.buffer[pending] = 0x80;
    if (pending + 1 <= countAt) {
        std::memset(context.buffer + pending + 1, 0, countAt - (pending + 1));
    } else {
        std::memset(context.buffer + pending + 1, 0, kHas160BlockBytes - (pending + 1));
        Has160Transform(context);
        std::memset(context.buffer, 0, countAt);
    }
    StoreLe32(context.buffer + countAt, context.countLow);
    StoreLe32(context.buffer + countAt + 4, context.countHigh);
    Has160Transform(context);
    for (size_t i = 0; i < 5; ++i)
        StoreLe32(digest + 4 * i, context.state[i]);
}

// Message word i of the step: X0 to X15 come straight from the block, X16 to X19
// are the round's own words. Every i is a literal, so the choice is made when the
// program is built.
#define HAS160_X(i) ((i) < 16 ? LoadLe32(block + 4 * ((i) & 15)) : extra[(i) & 3])

// X16 to X19 of a round, each the XOR of four block words.
#define HAS160_EXTRA(p0, p1, p2, p3, q0, q1, q2, q3, r0, r1, r2, r3, t0, t1, t2, t3) \
    extra[0] = HAS160_X(p0) ^ HAS160_X(p1) ^ HAS160_X(p2) ^ HAS160_X(p3);             \
    extra[1] = HAS160_X(q0) ^ HAS160_X(q1) ^ HAS160_X(q2) ^ HAS160_X(q3);             \
    extra[2] = HAS160_X(r0) ^ HAS160_X(r1) ^ HAS160_X(r2) ^ HAS160_X(r3);             \
    extra[3] = HAS160_X(t0) ^ HAS160_X(t1) ^ HAS160_X(t2) ^ HAS160_X(t3)

// One step: T = ROTL(A, s1) + F(B, C, D) + E + X + K lands in E's variable and B is
// rotated in place; the steps rename the five variables instead of moving them.
#define HAS160_STEP(a, b, c, d, e, F, i, K, s1, s2)      \
    e += Rotl(a, s1) + F(b, c, d) + HAS160_X(i) + K;     \
    b = Rotl(b, s2)

// The twenty steps of a round, taking the words l0 to l19 in turn.
#define HAS160_STEPS(F, K, s2, l0, l1, l2, l3, l4, l5, l6, l7, l8, l9,                   \
                     l10, l11, l12, l13, l14, l15, l16, l17, l18, l19)                    \
    HAS160_STEP(a, b, c, d, e, F, l0, K, 5, s2);                                          \
    HAS160_STEP(e, a, b, c, d, F, l1, K, 11, s2);                                         \
    HAS160_STEP(d, e, a, b, c, F, l2, K, 7, s2);                                          \
    HAS160_STEP(c, d, e, a, b, F, l3, K, 15, s2);                                         \
    HAS160_STEP(b, c, d, e, a, F, l4, K, 6, s2);                                          \
    HAS160_STEP(a, b, c, d, e, F, l5, K, 13, s2);                                         \
    HAS160_STEP(e, a, b, c, d, F, l6, K, 8, s2);                                          \
    HAS160_STEP(d, e, a, b, c, F, l7, K, 14, s2);                                         \
    HAS160_STEP(c, d, e, a, b, F, l8, K, 7, s2);                                          \
    HAS160_STEP(b, c, d, e, a, F, l9, K, 12, s2);                                         \
    HAS160_STEP(a, b, c, d, e, F, l10, K, 9, s2);                                         \
    HAS160_STEP(e, a, b, c, d, F, l11, K, 11, s2);                                        \
    HAS160_STEP(d, e, a, b, c, F, l12, K, 8, s2);                                         \
    HAS160_STEP(c, d, e, a, b, F, l13, K, 15, s2);                                        \
    HAS160_STEP(b, c, d, e, a, F, l14, K, 6, s2);                                         \
    HAS160_STEP(a, b, c, d, e, F, l15, K, 12, s2);                                        \
    HAS160_STEP(e, a, b, c, d, F, l16, K, 9, s2);                                         \
    HAS160_STEP(d, e, a, b, c, F, l17, K, 14, s2);                                        \
    HAS160_STEP(c, d, e, a, b, F, l18, K, 5, s2);                                         \
    HAS160_STEP(b, c, d, e, a, F, l19, K, 13, s2)

void Has160Transform(Has160Context& context)
{
    const unsigned char* const block = context.buffer;
    uint32_t extra[4];
    uint32_t a = context.state[0];
    uint32_t b = context.state[1];
    uint32_t c = context.state[2];
    uint32_t d = context.state[3];
    uint32_t e = context.state[4];

    HAS160_EXTRA(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    HAS160_STEPS(F1, K1, 10, 18, 0, 1, 2, 3, 19, 4, 5, 6, 7, 16, 8, 9, 10, 11, 17, 12, 13, 14, 15);
    HAS160_EXTRA(3, 6, 9, 12, 15, 2, 5, 8, 11, 14, 1, 4, 7, 10, 13, 0);
    HAS160_STEPS(F2, K2, 17, 18, 3, 6, 9, 12, 19, 15, 2, 5, 8, 16, 11, 14, 1, 4, 17, 7, 10, 13, 0);
    HAS160_EXTRA(12, 5, 14, 7, 0, 9, 2, 11, 4, 13, 6, 15, 8, 1, 10, 3);
    HAS160_STEPS(F3, K3, 25, 18, 12, 5, 14, 7, 19, 0, 9, 2, 11, 16, 4, 13, 6, 15, 17, 8, 1, 10, 3);
    HAS160_EXTRA(7, 2, 13, 8, 3, 14, 9, 4, 15, 10, 5, 0, 11, 6, 1, 12);
    HAS160_STEPS(F2, K4, 30, 18, 7, 2, 13, 8, 19, 3, 14, 9, 4, 16, 15, 10, 5, 0, 17, 11, 6, 1, 12);

    context.state[0] += a;
    context.state[1] += b;
    context.state[2] += c;
    context.state[3] += d;
    context.state[4] += e;
}

#undef HAS160_STEPS
#undef HAS160_STEP
#undef HAS160_EXTRA
#undef HAS160_X
