// tessaly_show [--until WHAT] [--update VERSION] [--hold] PROGRAM SWITCH PATH...: starts the
// program as the shell extension does and waits until it shows WHAT:
//   result    the result rows, or a message box instead (the default)
//   progress  the main dialog, its work a quarter done or more
//   box       the first message box, the update prompt included
//   settings  the settings dialog, opened with the settings button after the result
//   banner    the main dialog and the banner beside it, after the result
// Then it prints "shown" and the screen rectangle of each of those windows (LEFT TOP
// WIDTH HEIGHT), waits for a line on standard input and ends the program. With --hold it
// waits for nothing the program shows, only until the user ends the program. The update servers announce the program's
// own version, or VERSION. For the run and screenshot scripts.
#include "ExpectedTexts.h"
#include "RemoteListView.h"
#include "TessalyRun.h"
#include "UpdateServers.h"
#include "Utf8.h"

#include <commctrl.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <thread>

namespace {

using Windows = std::vector<HWND>;

inline constexpr int kSettingsHashList = 1005;   // a control only the settings dialog has
inline constexpr int kPartWay = 25;              // percent

void PrintShown(const Windows& windows)
{
    std::printf("shown");
    for (HWND window : windows) {
        RECT r{};
        GetWindowRect(window, &r);
        std::printf(" %ld %ld %ld %ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    std::printf("\n");
    std::fflush(stdout);
}

Windows Found(const std::optional<HWND>& window)
{
    return window ? Windows{*window} : Windows{};
}

// The window that carries the result: a message box, else the dialog with its rows.
std::optional<HWND> WaitForResult(const TessalyRun& run)
{
    const std::optional<HWND> dialog = WaitFor<HWND>([&]() -> std::optional<HWND> {
        if (const auto box = run.WaitForMessageBox(0ms))
            return box->window;
        return run.WaitForMainDialog(0ms);
    }, kShowTimeout);
    if (!dialog || IsMessageBox(*dialog))
        return dialog;
    const RemoteListView list(GetDlgItem(*dialog, control::kResultList));
    WaitUntil([&] { return run.WaitForMessageBox(0ms) || list.RowCount() > 0; }, kShowTimeout);
    if (const auto box = run.WaitForMessageBox(0ms))
        return box->window;
    list.SettledRows(kShowTimeout);
    return dialog;
}

// The main dialog after the result, when the result is no message box.
std::optional<HWND> WaitForResultRows(const TessalyRun& run)
{
    const std::optional<HWND> shown = WaitForResult(run);
    return shown && !IsMessageBox(*shown) ? shown : std::nullopt;
}

Windows Result(const TessalyRun& run)
{
    return Found(WaitForResult(run));
}

Windows Progress(const TessalyRun& run)
{
    const std::optional<HWND> dialog = run.WaitForMainDialog();
    if (!dialog)
        return {};
    const HWND bar = GetDlgItem(*dialog, control::kProgress);
    return Found(WaitUntil([&] { return SendWithTimeout(bar, PBM_GETPOS, 0, 0) >= kPartWay; }, kShowTimeout)
                     ? dialog : std::nullopt);
}

Windows Box(const TessalyRun& run)
{
    return Found(WaitFor<HWND>([&]() -> std::optional<HWND> {
        for (HWND window : run.VisibleWindows())
            if (IsMessageBox(window))
                return window;
        return std::nullopt;
    }, kShowTimeout));
}

Windows Settings(const TessalyRun& run)
{
    const std::optional<HWND> dialog = WaitForResultRows(run);
    if (!dialog)
        return {};
    // Posted: the settings dialog runs modally inside the click.
    PostMessageW(GetDlgItem(*dialog, control::kSettings), BM_CLICK, 0, 0);
    return Found(WaitFor<HWND>([&]() -> std::optional<HWND> {
        for (HWND window : run.VisibleWindows())
            if (GetDlgItem(window, kSettingsHashList))
                return window;
        return std::nullopt;
    }, kShowTimeout));
}

Windows Banner(const TessalyRun& run)
{
    const std::optional<HWND> dialog = WaitForResultRows(run);
    const std::optional<HWND> banner = dialog ? run.Banner(*dialog) : std::nullopt;
    if (!banner || !IsWindowVisible(*banner))
        return {};
    return {*dialog, *banner};
}

const std::map<std::wstring, Windows (*)(const TessalyRun&)> kWaits = {
    {L"result", Result}, {L"progress", Progress}, {L"box", Box}, {L"settings", Settings}, {L"banner", Banner}};

struct Options {
    std::wstring until = L"result";
    std::string updateVersion;   // empty: the program's own
    bool hold = false;
    int firstArgument = 1;       // the program
};

Options ReadOptions(int argc, wchar_t** argv)
{
    Options options;
    int& i = options.firstArgument;
    for (; i + 1 < argc; ++i) {
        const std::wstring option = argv[i];
        if (option == L"--until")
            options.until = argv[++i];
        else if (option == L"--update")
            options.updateVersion = Utf8(argv[++i]);
        else if (option == L"--hold")
            options.hold = true;
        else
            break;
    }
    return options;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const Options options = ReadOptions(argc, argv);
    if (argc < options.firstArgument + 2 || !kWaits.count(options.until)) {
        std::fprintf(stderr, "usage: tessaly_show [--until result|progress|box|settings|banner] "
                             "[--update VERSION] [--hold] PROGRAM SWITCH PATH...\n");
        return 2;
    }
    UseKoreanTexts(GetUserDefaultLangID() == 0x0412);
    // Without the servers start-up would show that it found no update document.
    if (!StartUpdateServers())
        return 1;
    UpdateServers& servers = UpdateServers::Instance();
    if (!options.updateVersion.empty())
        servers.ServeEverywhere(UpdateDocument(options.updateVersion, "https://larkspan.example/Larkspan.msi",
                                               "https://larkspan.example/download"));

    const std::wstring program = argv[options.firstArgument];
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
    TessalyRun run(program,
                   ShellExtensionParameters(argv[options.firstArgument + 1],
                                            {argv + options.firstArgument + 2, argv + argc}),
                   folder);
    if (options.hold) {
        // Left to the user however long the work takes. This process ending would end the
        // program with its process object.
        while (!run.Process().WaitForExit(1h)) {
        }
        return 0;
    }
    const Windows shown = kWaits.at(options.until)(run);
    if (shown.empty()) {
        std::fprintf(stderr, "the program did not show its %s\n", Utf8(options.until).c_str());
        return 1;
    }
    SetForegroundWindow(shown.front());   // the one the user works in, as after a click
    std::this_thread::sleep_for(300ms);   // time to paint it
    PrintShown(shown);
    std::string line;
    std::getline(std::cin, line);
    return 0;   // the program, still running, ends with its process object
}
