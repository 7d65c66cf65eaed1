// The end-to-end driver: GoogleTest over the real program, run under Wine.
// --korean: this run's user language is Korean (LC_ALL=ko_KR.UTF-8), and the texts
// expected are the Korean ones.
// --randomized-layout: this run has address randomization on, as in a container, and must
// have the guard that scripts/wine-exec gives Wine processes then.
#include "ExpectedTexts.h"
#include "UpdateServers.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <fstream>
#include <string>

namespace {

// scripts/wine-exec turns the Linux address randomization off for the Wine session, without
// which one start of a Wine program in thousands fails; where it cannot (a container), every
// Wine process has the guard preloaded that starts such a process again (see
// scripts/wine-layout-guard.c). The kernel tells this process's personality and mappings
// through /proc, drive Z: under Wine.
enum class Layout { Fixed, Guarded, Unguarded };

Layout ThisProcessLayout()
{
    constexpr unsigned long kAddrNoRandomize = 0x0040000;
    std::ifstream personality("Z:\\proc\\self\\personality");
    unsigned long flags = 0;
    if (personality >> std::hex >> flags && (flags & kAddrNoRandomize) != 0)
        return Layout::Fixed;
    std::ifstream maps("Z:\\proc\\self\\maps");
    for (std::string line; std::getline(maps, line);) {
        if (line.find("/wine-layout-guard.so") != std::string::npos)
            return Layout::Guarded;
    }
    return Layout::Unguarded;
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
    bool randomized = false;
    for (int i = 1; i < argc; ++i) {
        korean = korean || std::wcscmp(argv[i], L"--korean") == 0;
        randomized = randomized || std::wcscmp(argv[i], L"--randomized-layout") == 0;
    }
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
    const Layout layout = ThisProcessLayout();
    if (layout == Layout::Unguarded) {
        std::fprintf(stderr, "address randomization is on and no guard is loaded: run the driver through "
                             "scripts/wine-exec\n");
        return 2;
    }
    if (randomized && layout != Layout::Guarded) {
        std::fprintf(stderr, "this run expects address randomization on, with the guard; it is off\n");
        return 2;
    }
    UseKoreanTexts(korean);
    TurnOffCrashDialogs();
    if (!StartUpdateServers())
        return 2;
    return RUN_ALL_TESTS();
}
