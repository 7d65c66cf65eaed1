// Each form of the time left is told by its own entry of the program's string table:
// 102 with hours, 103 with minutes, 104 with seconds alone.
#include "TimeLeftText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FormCase {
    TimeLeft left;
    const wchar_t* english;
    UINT stringId;
    const wchar_t* entry;
};

std::wstring StringTableEntry(UINT id)
{
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
    return std::wstring(text, static_cast<size_t>(length));
}

TEST(TimeLeftText, EachFormHasItsStringAndNumbers)
{
    ASSERT_NE(::GetUserDefaultLangID(), 1042) << "the English texts are expected";
    const FormCase cases[] = {
        {{TimeLeftForm::HoursMinutesSeconds, 1, 2, 3}, L"Left time: About 1 hours 2 minutes 3 seconds left", 102,
         L"Left time: About %d hours %d minutes %d seconds left"},
        {{TimeLeftForm::MinutesSeconds, 0, 4, 5}, L"Left time: About 4 minutes 5 seconds left", 103,
         L"Left time: About %d minutes %d seconds left"},
        {{TimeLeftForm::Seconds, 0, 0, 6}, L"Left time: About 6 seconds left", 104, L"Left time: About %d seconds left"},
    };
    for (const FormCase& c : cases) {
        EXPECT_EQ(TimeLeftText(c.left).Str(), c.english);
        EXPECT_EQ(StringTableEntry(c.stringId), c.entry) << "string " << c.stringId;
    }
}

}  // namespace
