#include "Has160.h"
#include "HashEngine.h"

#include "RandomBytes.h"

#include <gtest/gtest.h>

#include <rhash.h>

#include <cstring>
#include <string>
#include <vector>

// 600 MiB (629,145,600 bytes): bit count low wraps past 2^32 at 512 MiB and the last
// block carries the 64-bit count 0x1'2C000000.
namespace {

constexpr uint32_t kBlockBytes = 10 * 1024 * 1024;
constexpr int kBlocks = 60;

const std::vector<unsigned char>& Block()
{
    static const std::vector<unsigned char> block = RandomBytes(kBlockBytes, 7);
    return block;
}

// librhash's digest of the 600 MiB: the block sixty times.
std::wstring RhashDigest()
{
    rhash_library_init();
    rhash peer = rhash_init(RHASH_HAS160);
    for (int i = 0; i < kBlocks; ++i)
        rhash_update(peer, Block().data(), kBlockBytes);
    unsigned char digest[kHas160DigestBytes];
    rhash_final(peer, digest);
    rhash_free(peer);
    return DigestText(digest, sizeof digest);
}

void ExpectFinalCountAndDigest(Has160Context& context)
{
    EXPECT_EQ(context.countLow, 0x2C000000u);
    EXPECT_EQ(context.countHigh, 1u);
    unsigned char digest[kHas160DigestBytes];
    Has160Final(context, digest);
    uint32_t lastBlockCount[2];
    std::memcpy(lastBlockCount, context.buffer + 56, sizeof lastBlockCount);
    EXPECT_EQ(lastBlockCount[0], 0x2C000000u);
    EXPECT_EQ(lastBlockCount[1], 1u);
    EXPECT_EQ(DigestText(digest, sizeof digest), RhashDigest());
}

} // namespace

// The workers' way: 10 MiB per update, so the high word grows by the carry alone.
TEST(Has160LongInput, CountWrapsAt512MiBInReadBlocks)
{
    Has160Context context;
    Has160Init(context);
    for (int i = 1; i <= kBlocks; ++i) {
        Has160Update(context, Block().data(), kBlockBytes);
        const uint64_t bits = uint64_t{8} * kBlockBytes * static_cast<uint64_t>(i);
        ASSERT_EQ(context.countLow, static_cast<uint32_t>(bits)) << "after block " << i;
        ASSERT_EQ(context.countHigh, static_cast<uint32_t>(bits >> 32)) << "after block " << i;
    }
    ExpectFinalCountAndDigest(context);
}

// One update of more than 2^29 bytes: the high word takes length >> 29 directly.
TEST(Has160LongInput, CountOfOneUpdateLongerThan512MiB)
{
    std::vector<unsigned char> input;
    input.reserve(size_t{kBlockBytes} * kBlocks);
    for (int i = 0; i < kBlocks; ++i)
        input.insert(input.end(), Block().begin(), Block().end());
    Has160Context context;
    Has160Init(context);
    Has160Update(context, input.data(), static_cast<uint32_t>(input.size()));
    ExpectFinalCountAndDigest(context);
}
