#include "HashEngine.h"

#include "RandomBytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Bit-at-a-time reflected CRC-32: slow, but obviously the textbook definition.
uint32_t BitwiseCrc32(const unsigned char* bytes, size_t length)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}


uint32_t Crc32InPieces(const unsigned char* bytes, size_t length, const std::vector<size_t>& pieces)
{
    uint32_t crc = 0;
    size_t at = 0;
    for (size_t piece : pieces) {
        crc = ComputeCrc32(bytes + at, piece, crc);
        at += piece;
    }
    return ComputeCrc32(bytes + at, length - at, crc);
}

const char kCheckInput[] = "123456789";
constexpr uint32_t kCheckValue = 0xCBF43926;

} // namespace

TEST(ComputeCrc32, CheckValueInOneCallAndInAnyTwoOrThreePieces)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(kCheckInput);
    const size_t length = std::strlen(kCheckInput);
    EXPECT_EQ(ComputeCrc32(bytes, length, 0), kCheckValue);
    for (size_t first = 0; first <= length; ++first) {
        for (size_t second = 0; first + second <= length; ++second)
            EXPECT_EQ(Crc32InPieces(bytes, length, {first, second}), kCheckValue)
                << "pieces " << first << " + " << second;
    }
    EXPECT_EQ(Crc32InPieces(bytes, length, std::vector<size_t>(length, 1)), kCheckValue);
}

TEST(ComputeCrc32, LengthZeroReturnsPreviousUnchanged)
{
    const unsigned char byte = 0x5A;
    for (uint32_t previous : {0u, 1u, kCheckValue, 0xFFFFFFFFu})
        EXPECT_EQ(ComputeCrc32(&byte, 0, previous), previous);
}

// 0 to 200 bytes covers the byte loop alone (1 to 63), exact turns (64, 128, 192)
// and turns with tails up to 63; every start offset checks unaligned reads.
TEST(ComputeCrc32, MatchesBitwiseReferenceForEveryLengthAndAlignment)
{
    const std::vector<unsigned char> bytes = RandomBytes(208, 1);
    for (size_t offset = 0; offset < 8; ++offset) {
        for (size_t length = 0; length <= 200; ++length)
            ASSERT_EQ(ComputeCrc32(bytes.data() + offset, length, 0),
                      BitwiseCrc32(bytes.data() + offset, length))
                << "offset " << offset << " length " << length;
    }
}

TEST(ComputeCrc32, LargeInputInUnevenPiecesMatchesReference)
{
    const std::vector<unsigned char> bytes = RandomBytes(300000, 2);
    const uint32_t expected = BitwiseCrc32(bytes.data(), bytes.size());
    EXPECT_EQ(ComputeCrc32(bytes.data(), bytes.size(), 0), expected);
    EXPECT_EQ(Crc32InPieces(bytes.data(), bytes.size(), {1, 63, 64, 65, 127, 100000, 3}), expected);
}

TEST(HashText, Crc32IsEightLowerCaseDigitsWithLeadingZeros)
{
    EXPECT_EQ(Crc32Text(kCheckValue), L"cbf43926");
    EXPECT_EQ(Crc32Text(0), L"00000000");
    EXPECT_EQ(Crc32Text(0x00ABCDEF), L"00abcdef");
    EXPECT_EQ(Crc32Text(0xF0000001), L"f0000001");
}

TEST(HashText, DigestIsTwoLowerCaseDigitsPerByteInOrder)
{
    const unsigned char digest[] = {0x00, 0x0F, 0xA0, 0xFF, 0x12, 0xCD};
    EXPECT_EQ(DigestText(digest, sizeof digest), L"000fa0ff12cd");
    EXPECT_EQ(DigestText(digest, 0), L"");
}

TEST(HashText, LengthOfEachHashOfTheList)
{
    const size_t expected[kHashCount] = {8, 32, 32, 32, 40, 64, 96, 128, 40};
    const std::vector<unsigned char> digest(64, 0xAB);
    EXPECT_EQ(Crc32Text(0xFFFFFFFF).size(), 2 * kHashList[0].digestBytes);
    for (size_t i = 0; i < kHashCount; ++i) {
        const HashInfo& info = kHashList[i];
        EXPECT_EQ(&HashInfoOf(info.kind), &info);
        EXPECT_EQ(DigestText(digest.data(), info.digestBytes).size(), expected[i]) << info.displayName;
    }
}
