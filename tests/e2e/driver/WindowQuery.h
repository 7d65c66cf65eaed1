// Reading another process's windows: which exist, their classes, texts and controls.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace std::chrono_literals;

std::vector<HWND> TopLevelWindowsOf(DWORD processId);
std::wstring ClassNameOf(HWND window);
// WM_GETTEXT; nothing when the window does not answer in time.
std::optional<std::wstring> TextOf(HWND window);
// The text of the child control with that id; nothing when there is no such control.
std::optional<std::wstring> ControlText(HWND dialog, int controlId);
// A message to another process's window that cannot hang the caller.
LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Polls condition until it holds or the timeout passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);
// The first value that find gives within the timeout.
template <class T>
std::optional<T> WaitFor(const std::function<std::optional<T>()>& find, std::chrono::milliseconds timeout)
{
    std::optional<T> found;
    WaitUntil([&] { return (found = find()).has_value(); }, timeout);
    return found;
}
