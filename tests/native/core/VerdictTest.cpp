#include "Verdict.h"

#include <gtest/gtest.h>

TEST(HashValuesMatch, IgnoresCaseButNeverMatchesAnEmptyValue)
{
    EXPECT_TRUE(HashValuesMatch(L"cbf43926", L"CBF43926"));
    EXPECT_TRUE(HashValuesMatch(L"00ff", L"00ff"));
    EXPECT_FALSE(HashValuesMatch(L"cbf43926", L"cbf43927"));
    EXPECT_FALSE(HashValuesMatch(L"cbf4392", L"cbf43926"));
    EXPECT_FALSE(HashValuesMatch(L"", L"")) << "two values that could not be read are no match";
    EXPECT_FALSE(HashValuesMatch(L"", L"cbf43926"));
}

TEST(CompareHashOf, OutOfRangeIndicesFallBackToCrc32)
{
    for (uint32_t i = 0; i < kHashCount; ++i)
        EXPECT_EQ(CompareHashOf(i), static_cast<HashKind>(i));
    EXPECT_EQ(CompareHashOf(9), HashKind::Crc32);
    EXPECT_EQ(CompareHashOf(0xFFFFFFFFu), HashKind::Crc32) << "the text -1 reads as all one bits";
}
