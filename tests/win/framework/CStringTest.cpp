// CString under the Windows CRT: wide printf conventions, case and trimming rules,
// and string-table loading in an explicit language.
#include "CString.h"

#include "res/CStringTestIds.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

constexpr WORD kEnglish = 1033;
constexpr WORD kKorean = 1042;

CString FormatThroughList(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    CString text;
    text.FormatV(format, args);
    va_end(args);
    return text;
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

TEST(CStringFormat, PercentSTakesAWideString)
{
    CString text;
    text.Format(L"[%s]", L"안녕 file.bin");
    EXPECT_EQ(text.Str(), L"[안녕 file.bin]");
}

TEST(CStringFormat, I64uPrintsAllSixtyFourBits)
{
    const struct { std::uint64_t value; const wchar_t* text; } cases[] = {
        {0, L"0"},
        {4294967296ULL, L"4294967296"},
        {21474836480ULL, L"21474836480"},
        {UINT64_MAX, L"18446744073709551615"},
    };
    for (const auto& c : cases) {
        CString text;
        text.Format(L"%I64u", c.value);
        EXPECT_EQ(text.Str(), c.text) << c.value;
    }
}

TEST(CStringFormat, ZeroPaddedLowerCaseHex)
{
    const struct { unsigned value; const wchar_t* text; } cases[] = {
        {0u, L"00000000"},
        {0xabcu, L"00000abc"},
        {0xdeadbeefu, L"deadbeef"},
    };
    for (const auto& c : cases) {
        CString text;
        text.Format(L"%08x", c.value);
        EXPECT_EQ(text.Str(), c.text);
    }
}

TEST(CStringFormat, DoublePercentGivesOnePercent)
{
    CString text;
    text.Format(L"%%");
    EXPECT_EQ(text.Str(), L"%");
    text.Format(L"%I64u%% Ok", 42ULL);
    EXPECT_EQ(text.Str(), L"42% Ok");
}

TEST(CStringFormat, MixedConversionsKeepTheirArguments)
{
    CString text;
    text.Format(L"%I64u|%s|%08x|%d%%", 1ULL << 40, L"mid", 0x1fu, -3);
    EXPECT_EQ(text.Str(), L"1099511627776|mid|0000001f|-3%");
    text.Format(L"%s %s  File hash", L"Larkspan", L"2.1");
    EXPECT_EQ(text.Str(), L"Larkspan 2.1  File hash");
}

TEST(CStringFormat, ReplacesThePreviousText)
{
    CString text(L"previous text");
    text.Format(L"%d", 7);
    EXPECT_EQ(text.Str(), L"7");
    text.Format(L"%s", L"");
    EXPECT_TRUE(text.IsEmpty());
}

TEST(CStringFormat, LongResultIsNotCut)
{
    const std::wstring path(40000, L'p');
    CString text;
    text.Format(L"File name: %s!", path.c_str());
    EXPECT_EQ(text.Str(), L"File name: " + path + L"!");
}

TEST(CStringAppendFormat, AppendsAfterTheExistingText)
{
    CString text(L"CRC-32\t");
    text.AppendFormat(L"%08x", 0x1234u);
    text.AppendFormat(L"%s", L"\r\n");
    EXPECT_EQ(text.Str(), L"CRC-32\t00001234\r\n");
}

TEST(CStringAppendFormat, BuildsAHexDigestByteByByte)
{
    const unsigned char digest[] = {0x00, 0x0f, 0xa0, 0xff, 0x5c};
    CString text;
    for (unsigned char byte : digest)
        text.AppendFormat(L"%02x", byte);
    EXPECT_EQ(text.Str(), L"000fa0ff5c");
}

TEST(CStringFormatV, FormatsTheCallersArguments)
{
    EXPECT_EQ(FormatThroughList(L"%s=%I64u", L"size", 5000000000ULL).Str(), L"size=5000000000");
}

TEST(CStringFormatV, RunsAlsoWithoutArguments)
{
    EXPECT_EQ(FormatThroughList(L"100%% Ok").Str(), L"100% Ok");
    EXPECT_TRUE(FormatThroughList(L"").IsEmpty());
}

TEST(CStringMakeUpper, RaisesHexLettersAndKeepsDigits)
{
    CString text(L"0123456789abcdef");
    CString& result = text.MakeUpper();
    EXPECT_EQ(&result, &text);
    EXPECT_EQ(text.Str(), L"0123456789ABCDEF");
}

TEST(CStringMakeUpper, EmptyStaysEmpty)
{
    CString text;
    EXPECT_TRUE(text.MakeUpper().IsEmpty());
}

TEST(CStringTrim, StripsBlanksTabsCrAndLfAtBothEndsOnly)
{
    const struct { const wchar_t* input; const wchar_t* trimmed; } cases[] = {
        {L"", L""},
        {L" \t\r\n", L""},
        {L"abc", L"abc"},
        {L"  a b  ", L"a b"},
        {L"\r\n\tvalue\t\r\nvalue\t\r\n", L"value\t\r\nvalue"},
        {L"\t00001234\t", L"00001234"},
    };
    for (const auto& c : cases) {
        CString text(c.input);
        text.Trim();
        EXPECT_EQ(text.Str(), c.trimmed) << testing::PrintToString(std::wstring(c.input));
    }
}

TEST(CStringCompareNoCase, IgnoresLetterCaseOnly)
{
    const struct { const wchar_t* left; const wchar_t* right; int sign; } cases[] = {
        {L"", L"", 0},
        {L"deadBEEF", L"DEADbeef", 0},
        {L"00ff", L"00FF", 0},
        {L"abc", L"abd", -1},
        {L"b", L"A", 1},
        {L"abc", L"ab", 1},
        {L"", L"a", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Sign(CString(c.left).CompareNoCase(c.right)), c.sign) << testing::PrintToString(std::wstring(c.left));
}

TEST(CStringLoadString, LoadsTheEntryOfTheAskedLanguage)
{
    const struct { UINT id; WORD language; const wchar_t* text; BOOL found; } cases[] = {
        {IDS_TEST_GREETING, kEnglish, L"Hello, %s", TRUE},
        {IDS_TEST_GREETING, kKorean, L"안녕하세요, %s", TRUE},
        {IDS_TEST_PERCENT, kEnglish, L"%I64u%% Ok", TRUE},
        {IDS_TEST_PERCENT, kKorean, L"%I64u%% 완료", TRUE},
        {IDS_TEST_LAST_OF_BLOCK, kEnglish, L"last\r\n", TRUE},
        {IDS_TEST_LAST_OF_BLOCK, kKorean, L"마지막\r\n", TRUE},
        {IDS_TEST_FIRST_OF_BLOCK, kEnglish, L"first", TRUE},
        {IDS_TEST_FIRST_OF_BLOCK, kKorean, L"처음", TRUE},
        {IDS_TEST_ENGLISH_ONLY, kEnglish, L"English only", TRUE},
        {IDS_TEST_ENGLISH_ONLY, kKorean, L"", FALSE},
        {IDS_TEST_MISSING, kEnglish, L"", FALSE},
        {IDS_TEST_NO_BLOCK, kKorean, L"", FALSE},
    };
    for (const auto& c : cases) {
        CString text(L"stale");
        EXPECT_EQ(text.LoadString(GetModuleHandleW(nullptr), c.id, c.language), c.found)
            << c.id << " in " << c.language;
        EXPECT_EQ(text.Str(), c.text) << c.id << " in " << c.language;
    }
}

TEST(CStringLoadString, LoadedPercentEntryFormatsToOnePercent)
{
    CString entry;
    ASSERT_TRUE(entry.LoadString(GetModuleHandleW(nullptr), IDS_TEST_PERCENT, kKorean));
    CString text;
    text.Format(entry, 100ULL);
    EXPECT_EQ(text.Str(), L"100% 완료");
}

} // namespace
