#include "ProgramParameters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(QuoteSpaces, QuotesWholePathsThatHoldABlank)
{
    const std::wstring longFolder = L"C:\\" + std::wstring(300, L'x');
    struct Case {
        std::wstring path;
        std::wstring quoted;
    };
    const Case cases[] = {
        {L"C:\\data\\a b.txt", L"\"C:\\data\\a b.txt\""},
        {L"C:\\data\\ab.txt", L"C:\\data\\ab.txt"},
        {L"C:\\tab\there", L"C:\\tab\there"},
        {longFolder + L"\\a b", L"\"" + longFolder + L"\\a b\""},
        {longFolder, longFolder},
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuoteSpaces(c.path), c.quoted) << c.path;
}

TEST(ProgramParameters, SwitchThenEveryPathFollowedByOneBlank)
{
    struct Case {
        int selCount;
        std::vector<std::wstring> paths;
        std::wstring parameters;
    };
    const Case cases[] = {
        {1, {L"C:\\a.txt"}, L"-h C:\\a.txt "},
        {1, {L"\"C:\\a b.txt\""}, L"-h \"C:\\a b.txt\" "},
        {2, {L"C:\\a.txt", L"\"C:\\b c.txt\""}, L"-c C:\\a.txt \"C:\\b c.txt\" "},
        {2, {L"C:\\only.txt"}, L"-c C:\\only.txt "},
        {1, {}, L"-h "},
        {2, {}, L"-c "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgramParameters(c.selCount, c.paths), c.parameters) << c.parameters;
}
