#include "Has160.h"
#include "HashEngine.h"

#include "RandomBytes.h"

#include <gtest/gtest.h>

#include <rhash.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes BytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// The 64-bit bit count in positions 56 to 63 of the last block.
uint64_t CountInLastBlock(const Has160Context& context)
{
    uint64_t count;
    std::memcpy(&count, context.buffer + 56, sizeof count);
    return count;
}

std::wstring FinalText(Has160Context& context)
{
    unsigned char digest[kHas160DigestBytes];
    Has160Final(context, digest);
    return DigestText(digest, sizeof digest);
}

// Feeds `bytes` in pieces of the given sizes, cycling through them.
std::wstring Has160InPieces(const Bytes& bytes, const std::vector<size_t>& pieces)
{
    Has160Context context;
    Has160Init(context);
    size_t at = 0;
    for (size_t i = 0; at < bytes.size(); ++i) {
        const size_t piece = std::min(pieces[i % pieces.size()], bytes.size() - at);
        Has160Update(context, bytes.data() + at, static_cast<uint32_t>(piece));
        at += piece;
    }
    return FinalText(context);
}

std::wstring Has160Of(const Bytes& bytes)
{
    return Has160InPieces(bytes, {bytes.size() + 1});
}

// The independent implementation of librhash.
std::wstring RhashHas160Of(const Bytes& bytes)
{
    unsigned char digest[kHas160DigestBytes];
    EXPECT_EQ(rhash_msg(RHASH_HAS160, bytes.data(), bytes.size(), digest), 0);
    return DigestText(digest, sizeof digest);
}

class Has160WithRhash : public ::testing::Test {
protected:
    static void SetUpTestSuite() { rhash_library_init(); }
};

struct Vector {
    const char* name;
    Bytes input;
    const wchar_t* digest;
};

// The test vectors of TTAS.KO-12.0011/R2.
std::vector<Vector> StandardVectors()
{
    return {
        {"empty", BytesOf(""), L"307964ef34151d37c8047adec7ab50f4ff89762d"},
        {"a", BytesOf("a"), L"4872bcbc4cd0f0a9dc7c2f7045e5b43b6c830db8"},
        {"abc", BytesOf("abc"), L"975e810488cf2a3d49838478124afce4b1c78804"},
        {"message digest", BytesOf("message digest"), L"2338dbc8638d31225f73086246ba529f96710bc6"},
        {"a to z", BytesOf("abcdefghijklmnopqrstuvwxyz"), L"596185c9ab6703d0d0dbb98702bc0f5729cd1d3c"},
        {"letters and digits",
         BytesOf("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
         L"cb5d7efbca2f02e0fb7167cabb123af5795764e5"},
        {"1234567890 eight times",
         BytesOf("1234567890123456789012345678901234567890"
                 "1234567890123456789012345678901234567890"),
         L"07f05c8c0773c55ca3a5a695ce6aca4c438911b5"},
        {"one million a", Bytes(1000000, 'a'), L"d6ad6f0608b878da9b87999c2525cc84f4c9f18d"},
    };
}

} // namespace

TEST(Has160, StandardVectorsInOneUpdateAndInSplits)
{
    for (const Vector& v : StandardVectors()) {
        SCOPED_TRACE(v.name);
        EXPECT_EQ(Has160Of(v.input), v.digest);
        EXPECT_EQ(Has160InPieces(v.input, {1}), v.digest);
        EXPECT_EQ(Has160InPieces(v.input, {64}), v.digest);
        EXPECT_EQ(Has160InPieces(v.input, {3, 61, 127, 1, 64, 65}), v.digest);
    }
}

TEST(Has160, EmptyInputIsOneBlockOfPaddingAndZeroCount)
{
    Has160Context context;
    Has160Init(context);
    EXPECT_EQ(FinalText(context), L"307964ef34151d37c8047adec7ab50f4ff89762d");
    Bytes lastBlock(kHas160BlockBytes, 0);
    lastBlock[0] = 0x80;
    EXPECT_EQ(Bytes(context.buffer, context.buffer + kHas160BlockBytes), lastBlock);
}

TEST(Has160, EveryTwoPieceSplitGivesTheSameDigest)
{
    const Bytes bytes = RandomBytes(200, 3);
    const std::wstring whole = Has160Of(bytes);
    for (size_t first = 0; first <= bytes.size(); ++first) {
        Has160Context context;
        Has160Init(context);
        Has160Update(context, bytes.data(), static_cast<uint32_t>(first));
        Has160Update(context, bytes.data() + first, static_cast<uint32_t>(bytes.size() - first));
        ASSERT_EQ(FinalText(context), whole) << "split at " << first;
    }
}

TEST(Has160, UpdateWithLengthZeroChangesNothing)
{
    const Bytes bytes = RandomBytes(100, 4);
    Has160Context context;
    Has160Init(context);
    Has160Update(context, bytes.data(), 100);
    const Has160Context before = context;
    Has160Update(context, bytes.data(), 0);
    EXPECT_EQ(std::memcmp(&before, &context, sizeof context), 0);
}

// Filling the pending block compresses it at once, exactly as a block placed in the
// buffer by hand; the compression leaves the buffer and the count alone.
TEST(Has160, UpdateThatFillsThePendingBlockRunsOneTransform)
{
    const Bytes bytes = RandomBytes(kHas160BlockBytes, 5);
    Has160Context fed;
    Has160Init(fed);
    Has160Update(fed, bytes.data(), 10);
    Has160Update(fed, bytes.data() + 10, kHas160BlockBytes - 10);

    Has160Context byHand;
    Has160Init(byHand);
    std::memcpy(byHand.buffer, bytes.data(), kHas160BlockBytes);
    Has160Transform(byHand);

    EXPECT_EQ((fed.countLow >> 3) & 63, 0u);
    EXPECT_EQ(fed.countLow, 8 * kHas160BlockBytes);
    EXPECT_EQ(std::memcmp(fed.state, byHand.state, sizeof fed.state), 0);
    EXPECT_EQ(byHand.countLow, 0u);
    EXPECT_EQ(Bytes(byHand.buffer, byHand.buffer + kHas160BlockBytes), bytes);
}

// 55 pending bytes leave room for 0x80 and the count in the same block; 56 to 63
// need a second block of zeros and the count.
TEST_F(Has160WithRhash, PaddingEdgesAgreeWithRhashAndEndWithTheCount)
{
    for (size_t blocks : {0u, 1u, 3u}) {
        for (size_t pending = 53; pending <= 64; ++pending) {
            const size_t length = blocks * kHas160BlockBytes + pending;
            SCOPED_TRACE("length " + std::to_string(length));
            const Bytes bytes = RandomBytes(length, static_cast<unsigned>(length));
            Has160Context context;
            Has160Init(context);
            Has160Update(context, bytes.data(), static_cast<uint32_t>(length));
            EXPECT_EQ(FinalText(context), RhashHas160Of(bytes));

            const size_t tail = pending % kHas160BlockBytes;
            const size_t zerosFrom = tail <= 55 ? tail + 1 : 0;
            if (tail <= 55) {
                EXPECT_EQ(context.buffer[tail], 0x80);
            }
            for (size_t i = zerosFrom; i < 56; ++i)
                ASSERT_EQ(context.buffer[i], 0) << "position " << i;
            EXPECT_EQ(CountInLastBlock(context), 8 * length);
        }
    }
}

TEST_F(Has160WithRhash, RandomLengthsAndSplitsAgreeWithRhash)
{
    std::mt19937 random(6);
    for (int i = 0; i < 300; ++i) {
        const size_t length = i < 150 ? static_cast<size_t>(i) : random() % 50000;
        const Bytes bytes = RandomBytes(length, random());
        const size_t piece = 1 + random() % 300;
        ASSERT_EQ(Has160InPieces(bytes, {piece, 1 + piece / 2}), RhashHas160Of(bytes))
            << "length " << length << " pieces " << piece;
    }
}

TEST_F(Has160WithRhash, WorkersReadBlocksAgreeWithRhash)
{
    const Bytes bytes = RandomBytes(25 * 1024 * 1024 + 3, 8);
    EXPECT_EQ(Has160InPieces(bytes, {10 * 1024 * 1024}), RhashHas160Of(bytes));
}
