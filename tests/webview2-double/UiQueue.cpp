#include "UiQueue.h"

#include <windows.h>

#include <memory>

namespace {
constexpr UINT kRunWork = WM_APP + 1;

LRESULT CALLBACK QueueProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kRunWork)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    const std::unique_ptr<std::function<void()>> work(reinterpret_cast<std::function<void()>*>(wParam));
    (*work)();
    return 0;
}

// One message-only window on the calling thread.
HWND QueueWindow()
{
    thread_local HWND window = [] {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = QueueProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"WebView2DoubleQueue";
        ::RegisterClassW(&windowClass);
        return ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
    }();
    return window;
}
}

namespace ui_queue {
void Post(std::function<void()> work)
{
    auto* copy = new std::function<void()>(std::move(work));
    if (!::PostMessageW(QueueWindow(), kRunWork, reinterpret_cast<WPARAM>(copy), 0))
        delete copy;
}
}
