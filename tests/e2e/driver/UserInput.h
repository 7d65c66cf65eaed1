// Input as a user gives it: real mouse and keyboard events through the display, which
// go to the window in front, as the program's own input does.
#pragma once

#include <windows.h>

#include <initializer_list>

// Makes the window the active one in front; true once it is.
bool BringToFront(HWND window);
// Moves the pointer to this screen point and clicks there.
void LeftClickAt(POINT onScreen);
void RightClickAt(POINT onScreen);
// Presses the keys in this order and releases them in reverse: {VK_CONTROL, 'C'} is Ctrl+C.
void PressKeys(std::initializer_list<WORD> keys);
