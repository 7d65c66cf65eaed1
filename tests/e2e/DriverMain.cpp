// The end-to-end driver: GoogleTest over the real program, run under Wine.
// --korean: this run's user language is Korean (LC_ALL=ko_KR.UTF-8), and the texts
// expected are the Korean ones.
#include "ExpectedTexts.h"
#include "UpdateServers.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <fstream>

namespace {

// scripts/wine-exec turns the Linux address randomization off for the Wine session, without
// which one start of the program in thousands fails (see there). The kernel tells this
// process's personality through /proc, drive Z: under Wine.
bool AddressRandomizationIsOff()
{
    constexpr unsigned long kAddrNoRandomize = 0x0040000;
    std::ifstream personality("Z:\\proc\\self\\personality");
    unsigned long flags = 0;
    return personality >> std::hex >> flags && (flags & kAddrNoRandomize) != 0;
}

// A program that crashes fails its test; Wine's crash dialog would stay on the screen
// over the windows of the tests after it.
void TurnOffCrashDialogs()
{
    const DWORD off = 0;
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\WineDbg", L"ShowCrashDialog", REG_DWORD, &off, sizeof off);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    testing::InitGoogleTest(&argc, argv);
    bool korean = false;
    for (int i = 1; i < argc; ++i)
        korean = korean || std::wcscmp(argv[i], L"--korean") == 0;
    const bool userIsKorean = GetUserDefaultLangID() == 0x0412;
    if (korean != userIsKorean) {
        std::fprintf(stderr, "the user language is %s, but this run expects %s texts: set LC_ALL\n",
                     userIsKorean ? "Korean" : "not Korean", korean ? "Korean" : "English");
        return 2;
    }
    if (!GetEnvironmentVariableW(L"DISPLAY", nullptr, 0)) {
        std::fprintf(stderr, "no X display: run under scripts/test, or source scripts/xvfb-env first\n");
        return 2;
    }
    if (!AddressRandomizationIsOff()) {
        std::fprintf(stderr, "address randomization is on: run the driver through scripts/wine-exec\n");
        return 2;
    }
    UseKoreanTexts(korean);
    TurnOffCrashDialogs();
    if (!StartUpdateServers())
        return 2;
    return RUN_ALL_TESTS();
}
