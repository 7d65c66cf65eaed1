#include "BrowserText.h"

#include <gtest/gtest.h>

#include <string>

namespace {
struct AddressCase {
    const wchar_t* given;
    const wchar_t* expected;
};

constexpr AddressCase kAddressCases[] = {
    // Anything with "://" stays as it is, wherever the "://" stands.
    {L"https://larkspan.example/banner/1.html", L"https://larkspan.example/banner/1.html"},
    {L"ftp://host/x", L"ftp://host/x"},
    {L"c://odd", L"c://odd"},
    {L"host/path?next=http://x", L"host/path?next=http://x"},
    // A second character ':' (a drive) makes a file address.
    {L"c:\\pages\\banner.html", L"file://c:\\pages\\banner.html"},
    {L"Z:", L"file://Z:"},
    // Everything else becomes an http address.
    {L"larkspan.example", L"http://larkspan.example"},
    {L"about:blank", L"http://about:blank"},
    {L":", L"http://:"},
    {L"x", L"http://x"},
    {L"", L"http://"},
    {L"www.example.com:8080/x", L"http://www.example.com:8080/x"},
    {L"//share/x", L"http:////share/x"},
};

struct FolderCase {
    const wchar_t* location;
    const wchar_t* version;
    const wchar_t* expected;
};

constexpr FolderCase kFolderCases[] = {
    {L"C:\\Program Files\\EdgeWebView", L"120.0.2210.91", L"C:\\Program Files\\EdgeWebView\\120.0.2210.91"},
    {L"C:\\Program Files\\EdgeWebView\\", L"120.0.2210.91", L"C:\\Program Files\\EdgeWebView\\120.0.2210.91"},
    {L"C:\\", L"1.0.0.0", L"C:\\1.0.0.0"},
    {L"x", L"", L"x\\"},
    // No location: nothing to join, and nothing before the text is looked at.
    {L"", L"120.0.2210.91", L""},
    {L"", L"", L""},
};

struct NameCase {
    const wchar_t* name;
    bool isVersion;
};

constexpr NameCase kNameCases[] = {
    {L"120.0.2210.91", true},
    {L"1.2.3.4", true},
    {L"0.0.0.0", true},
    {L"-1.2.3.4", true},
    {L"1.2.3.4.5", true},          // four fields convert; the rest is not looked at
    {L"1.2.3.4beta", true},
    {L"1.2.3", false},
    {L"1.2.3.", false},
    {L"1..2.3.4", false},
    {L"v1.2.3.4", false},
    {L"SetupMetrics", false},
    {L".", false},
    {L"..", false},
    {L"", false},
};
}

TEST(NormalizeBrowserAddress, KeepsSchemesAddsFileForDrivesAndHttpForTheRest)
{
    for (const AddressCase& c : kAddressCases)
        EXPECT_EQ(NormalizeBrowserAddress(c.given), c.expected) << "given: " << testing::PrintToString(std::wstring(c.given));
}

TEST(JoinVersionFolder, PutsExactlyOneSeparatorBetweenLocationAndVersion)
{
    for (const FolderCase& c : kFolderCases)
        EXPECT_EQ(JoinVersionFolder(c.location, c.version), c.expected)
            << "location: " << testing::PrintToString(std::wstring(c.location));
}

TEST(IsVersionFolderName, NeedsFourConvertedNumbers)
{
    for (const NameCase& c : kNameCases)
        EXPECT_EQ(IsVersionFolderName(c.name), c.isVersion) << testing::PrintToString(std::wstring(c.name));
}
