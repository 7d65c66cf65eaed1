#include "UserInput.h"

#include "WindowQuery.h"

#include <thread>
#include <vector>

namespace {

void Send(std::vector<INPUT> events)
{
    SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
    std::this_thread::sleep_for(100ms);   // lets the program take the events in before the next ones
}

INPUT MouseEvent(DWORD flags)
{
    INPUT event{};
    event.type = INPUT_MOUSE;
    event.mi.dwFlags = flags;
    return event;
}

INPUT KeyEvent(WORD key, DWORD flags)
{
    INPUT event{};
    event.type = INPUT_KEYBOARD;
    event.ki.wVk = key;
    event.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    event.ki.dwFlags = flags;
    return event;
}

void ClickAt(POINT onScreen, DWORD down, DWORD up)
{
    SetCursorPos(onScreen.x, onScreen.y);
    Send({MouseEvent(MOUSEEVENTF_MOVE)});   // a move of 0: the program sees the pointer arrive
    Send({MouseEvent(down), MouseEvent(up)});
}

}  // namespace

bool BringToFront(HWND window)
{
    return WaitUntil([&] {
        SetForegroundWindow(window);
        return GetForegroundWindow() == window;
    }, 5s);
}

void LeftClickAt(POINT onScreen)
{
    ClickAt(onScreen, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

void RightClickAt(POINT onScreen)
{
    ClickAt(onScreen, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
}

void PressKeys(std::initializer_list<WORD> keys)
{
    // Held while the program takes the last key in: it may ask whether Ctrl is down then.
    std::vector<INPUT> presses;
    std::vector<INPUT> releases;
    for (WORD key : keys)
        presses.push_back(KeyEvent(key, 0));
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        releases.push_back(KeyEvent(*key, KEYEVENTF_KEYUP));
    Send(presses);
    Send(releases);
}
