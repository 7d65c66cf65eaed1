#include "TessalyRun.h"

#include "ExpectedTexts.h"

#include <algorithm>

namespace {

bool IsIncidental(const MessageBoxView& box)
{
    return box.caption == Expected().updateCaption || box.caption == fixed_text::kWebViewFailureCaption;
}

void Dismiss(const MessageBoxView& box)
{
    for (int button : {IDNO, IDOK, IDCANCEL}) {
        if (std::find(box.buttons.begin(), box.buttons.end(), button) != box.buttons.end()) {
            Answer(box, button);
            return;
        }
    }
}

bool IsMainDialog(HWND window)
{
    return ClassNameOf(window) == L"#32770" && GetDlgItem(window, control::kResultList) != nullptr;
}

}  // namespace

TessalyRun::TessalyRun(const std::wstring& program, const std::wstring& parameters, const std::wstring& currentFolder)
    : process_(program, parameters, currentFolder)
{
}

std::optional<HWND> TessalyRun::MainDialog() const
{
    for (HWND window : TopLevelWindowsOf(process_.Id()))
        if (IsMainDialog(window) && IsWindowVisible(window))
            return window;
    return std::nullopt;
}

std::optional<MessageBoxView> TessalyRun::NextBox(Incidental incidental) const
{
    for (HWND window : TopLevelWindowsOf(process_.Id())) {
        if (!IsMessageBox(window) || !IsWindowVisible(window))
            continue;
        const std::optional<MessageBoxView> box = ReadMessageBox(window);
        if (!box)
            continue;
        if (incidental == Incidental::Keep || !IsIncidental(*box))
            return box;
        Dismiss(*box);
    }
    return std::nullopt;
}

std::optional<HWND> TessalyRun::WaitForMainDialog(std::chrono::milliseconds timeout) const
{
    return WaitFor<HWND>([&]() -> std::optional<HWND> {
        NextBox();
        return MainDialog();
    }, timeout);
}

std::optional<MessageBoxView> TessalyRun::WaitForMessageBox(std::chrono::milliseconds timeout) const
{
    return WaitFor<MessageBoxView>([&] { return NextBox(); }, timeout);
}

std::optional<MessageBoxView> TessalyRun::WaitForBoxBeforeMainDialog(std::chrono::milliseconds timeout) const
{
    std::optional<MessageBoxView> box;
    WaitUntil([&] { return (box = NextBox(Incidental::Keep)) || MainDialog(); }, timeout);
    return box;
}

std::vector<HWND> TessalyRun::VisibleWindows() const
{
    std::vector<HWND> visible;
    for (HWND window : TopLevelWindowsOf(process_.Id()))
        if (IsWindowVisible(window))
            visible.push_back(window);
    return visible;
}

std::optional<HWND> TessalyRun::Banner(HWND mainDialog) const
{
    for (HWND window : TopLevelWindowsOf(process_.Id()))
        if (window != mainDialog && GetWindow(window, GW_OWNER) == mainDialog && !IsMessageBox(window))
            return window;
    return std::nullopt;
}

void TessalyRun::Close(HWND mainDialog) const
{
    PostMessageW(mainDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void TessalyRun::PressEscape(HWND mainDialog) const
{
    // The key goes where the focus is once the user has clicked the dialog: to its
    // focused control, or to the dialog itself when the focus is elsewhere (the banner).
    GUITHREADINFO focus{};
    focus.cbSize = sizeof focus;
    HWND target = mainDialog;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(mainDialog, nullptr), &focus) && IsChild(mainDialog, focus.hwndFocus))
        target = focus.hwndFocus;
    const LPARAM escapeScanCode = 0x01 << 16;
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, escapeScanCode | 1);
    PostMessageW(target, WM_KEYUP, VK_ESCAPE, escapeScanCode | 1 | (1u << 30) | (1u << 31));
}

EndOfRun TessalyRun::WaitForEnd(std::chrono::milliseconds timeout) const
{
    EndOfRun end;
    WaitUntil([&] {
        end.exitCode = process_.WaitForExit(0ms);
        if (!end.exitCode)
            end.box = NextBox();
        return end.exitCode || end.box;
    }, timeout);
    end.hiddenButRunning = !end.exitCode && !end.box && VisibleWindows().empty();
    return end;
}

std::wstring Formatted(const std::wstring& format, const std::wstring& value)
{
    std::wstring text = format;
    text.replace(text.find(L"%s"), 2, value);
    return text;
}
