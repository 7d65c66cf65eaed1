#include "CommandLine.h"

#include <gtest/gtest.h>

TEST(RunModeOf, OnlyTheFirstTwoCharactersCountCaseSensitively)
{
    struct Case { const wchar_t* arg; RunMode mode; };
    const Case cases[] = {
        {L"-h", RunMode::HashFile},     {L"-hash", RunMode::HashFile},
        {L"-c", RunMode::CompareFiles}, {L"-cx", RunMode::CompareFiles},
        {L"-H", RunMode::None},         {L"-C", RunMode::None},
        {L"-", RunMode::None},          {L"", RunMode::None},
        {L"h-", RunMode::None},         {L"C:\\file.txt", RunMode::None},
        {nullptr, RunMode::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunModeOf(c.arg), c.mode) << (c.arg ? c.arg : L"(null)");
}
