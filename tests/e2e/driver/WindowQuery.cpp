#include "WindowQuery.h"

#include <thread>

namespace {

struct WindowsOfProcess {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindowOfProcess(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowsOfProcess*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId)
        search->windows.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId)
{
    WindowsOfProcess search{processId, {}};
    EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

std::wstring ClassNameOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

std::optional<std::wstring> TextOf(HWND window)
{
    // One WM_GETTEXT into room to spare, not a length asked for first: a text that the
    // program changes in between would be cut to the old length.
    for (std::size_t capacity = 256;; capacity *= 4) {
        std::wstring text(capacity, L'\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutW(window, WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(text.data()),
                                 SMTO_ABORTIFHUNG, 5000, &copied))
            return std::nullopt;
        if (copied + 1 < capacity) {
            text.resize(copied);
            return text;
        }
    }
}

std::optional<std::wstring> ControlText(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    return control ? TextOf(control) : std::nullopt;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(50ms);
    }
}
