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

TEST(PathParts, NameAfterAndFolderUpToTheLastBackslash)
{
    struct Case { const wchar_t* path; const wchar_t* name; const wchar_t* folder; };
    const Case cases[] = {
        {L"C:\\data\\a b.txt", L"a b.txt", L"C:\\data\\"},
        {L"Z:\\tmp\\x\\", L"", L"Z:\\tmp\\x\\"},
        {L"file.bin", L"file.bin", L"\\"},
        {L"", L"", L"\\"},
        {L"\\\\server\\share\\f", L"f", L"\\\\server\\share\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
        EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    }
}
