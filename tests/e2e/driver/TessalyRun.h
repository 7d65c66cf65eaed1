// One run of the program under test, seen the way a user sees it: its main dialog,
// its banner, its message boxes, and how it ends.
#pragma once

#include "MessageBoxes.h"
#include "ProgramProcess.h"
#include "WindowQuery.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

inline constexpr std::chrono::milliseconds kShowTimeout = 20s;   // a cold Wine start takes seconds
inline constexpr std::chrono::milliseconds kEndTimeout = 10s;
// How long the program is watched to see that something does not happen.
inline constexpr std::chrono::milliseconds kSettleTime = 1500ms;

// Control ids of the main dialog.
namespace control {
inline constexpr int kProgress = 1008;
inline constexpr int kResultList = 1009;
inline constexpr int kTask = 1010;
inline constexpr int kPercent = 1011;
inline constexpr int kFile = 1012;
inline constexpr int kTimeLeft = 1013;
inline constexpr int kHomeLink = 1014;
inline constexpr int kSettings = 1015;
}  // namespace control

struct EndOfRun {
    std::optional<DWORD> exitCode;        // set when the program ended
    std::optional<MessageBoxView> box;    // a box it showed instead
    bool hiddenButRunning = false;        // no visible window left, process alive
};

class TessalyRun {
public:
    TessalyRun(const std::wstring& program, const std::wstring& parameters, const std::wstring& currentFolder);

    const ProgramProcess& Process() const { return process_; }

    // The main dialog once it is visible. Boxes of the update check and of the web view
    // host, which other parts of start-up may show on the way, are answered.
    std::optional<HWND> WaitForMainDialog(std::chrono::milliseconds timeout = kShowTimeout) const;
    // The first message box shown that is not one of those.
    std::optional<MessageBoxView> WaitForMessageBox(std::chrono::milliseconds timeout = kShowTimeout) const;
    // For tests of those boxes: the first message box of any kind, answering nothing;
    // nothing once the main dialog shows without one before it.
    std::optional<MessageBoxView> WaitForBoxBeforeMainDialog(std::chrono::milliseconds timeout = kShowTimeout) const;
    std::vector<HWND> VisibleWindows() const;
    std::optional<HWND> Banner(HWND mainDialog) const;
    // The main dialog if it is visible now; answers nothing.
    std::optional<HWND> MainDialog() const;

    // The system menu's Close, as the title bar's close button gives it (posted: it may ask).
    void Close(HWND mainDialog) const;
    // The Escape key, pressed while the dialog is the active window.
    void PressEscape(HWND mainDialog) const;

    // Waits for the program to end by itself, answering nothing.
    EndOfRun WaitForEnd(std::chrono::milliseconds timeout = kEndTimeout) const;

private:
    enum class Incidental { Answer, Keep };
    std::optional<MessageBoxView> NextBox(Incidental incidental = Incidental::Answer) const;

    ProgramProcess process_;
};

// The text the worker writes into a static, with one %s filled in.
std::wstring Formatted(const std::wstring& format, const std::wstring& value);
