// tessaly_show PROGRAM SWITCH PATH...: starts the program as the shell extension does,
// waits until it shows its result (the result rows, or a message box), prints
// "shown LEFT TOP WIDTH HEIGHT" with that window's screen rectangle and waits for a line
// on standard input; then it closes the program. For the run and screenshot scripts.
#include "ExpectedTexts.h"
#include "RemoteListView.h"
#include "TessalyRun.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace {

void PrintShown(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    std::printf("shown %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fflush(stdout);
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

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: tessaly_show PROGRAM SWITCH PATH...\n");
        return 2;
    }
    UseKoreanTexts(GetUserDefaultLangID() == 0x0412);
    const std::wstring program = argv[1];
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
    TessalyRun run(program, ShellExtensionParameters(argv[2], {argv + 3, argv + argc}), folder);
    const std::optional<HWND> shown = WaitForResult(run);
    if (!shown) {
        std::fprintf(stderr, "the program showed nothing\n");
        return 1;
    }
    if (const auto box = run.WaitForMessageBox(0ms))
        std::fprintf(stderr, "%s\n", Describe(*box).c_str());
    PrintShown(*shown);
    std::string line;
    std::getline(std::cin, line);
    if (const auto box = run.WaitForMessageBox(0ms))
        Answer(*box, box->buttons.front());
    if (const auto dialog = run.WaitForMainDialog(0ms))
        run.Close(*dialog);
    return run.WaitForEnd().exitCode ? 0 : 1;   // a program that did not end is killed
}
