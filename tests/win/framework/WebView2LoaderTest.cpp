// The loader lookup when the library beside the program is missing or lacks the entry
// point: built twice, into a folder without the library and into one with a library
// of that name that has no such entry.
#include "WebView2Loader.h"

#include <gtest/gtest.h>

TEST(WebView2Loader, WithoutLibraryOrEntryPointReportsFileNotFound)
{
    EXPECT_EQ(CreateCoreWebView2EnvironmentWithOptions(L"", L"", nullptr, nullptr),
              static_cast<HRESULT>(0x80070002));
}
