// tessaly_time FILE default|all|all-but-md2: times one "-h" run of the program on FILE,
// from its start to the result rows, with those hashes, and prints "dialog MS rows MS"
// (milliseconds since the start). For scripts/bench.
#include "HashSettings.h"
#include "RemoteListView.h"
#include "RuntimeRegistration.h"
#include "TessalyRun.h"
#include "UpdateServers.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

constexpr std::chrono::minutes kRunTimeout{30};

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

std::optional<HashSettings> SettingsNamed(const std::wstring& name)
{
    HashSettings allButMd2 = kAllHashes;
    allButMd2.enabled[1] = false;
    if (name == L"default")
        return kDefaultHashes;
    if (name == L"all")
        return kAllHashes;
    if (name == L"all-but-md2")
        return allButMd2;
    return std::nullopt;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::optional<HashSettings> settings = argc == 3 ? SettingsNamed(argv[2]) : std::nullopt;
    if (!settings) {
        std::fprintf(stderr, "usage: tessaly_time FILE default|all|all-but-md2\n");
        return 2;
    }
    const int rows = static_cast<int>(std::count(settings->enabled.begin(), settings->enabled.end(), true));
    const TestFolder folder(L"bench");
    const std::wstring program = folder.CopyProgram();
    WriteHashSettings(folder, *settings);
    runtime_registration::WriteVersion();
    // The update check finds the current version: no box.
    if (!StartUpdateServers())
        return 1;

    const Clock::time_point start = Clock::now();
    const TessalyRun run(program, ShellExtensionParameters(L"-h", {argv[1]}), folder.Path());
    const std::optional<HWND> dialog = run.WaitForMainDialog();
    if (!dialog) {
        std::fprintf(stderr, "no main dialog\n");
        return 1;
    }
    const long long dialogShown = MillisecondsSince(start);
    const RemoteListView list(GetDlgItem(*dialog, control::kResultList));
    if (!WaitUntil([&] { return list.RowCount() == rows; }, kRunTimeout)) {
        const std::optional<MessageBoxView> box = run.WaitForMessageBox(0ms);
        std::fprintf(stderr, "no rows; %s\n", box ? Describe(*box).c_str() : "no message box");
        return 1;
    }
    std::printf("dialog %lld rows %lld\n", dialogShown, MillisecondsSince(start));
    run.Close(*dialog);
    return run.WaitForEnd().exitCode ? 0 : 1;   // a program that did not end is killed
}
