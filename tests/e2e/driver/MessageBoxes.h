// Message boxes of another process: finding them, reading them, answering them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

enum class BoxIcon { None, Error, Question, Warning, Information, Unrecognised };
const char* NameOf(BoxIcon icon);

struct MessageBoxView {
    HWND window;
    std::wstring caption;
    std::wstring text;
    BoxIcon icon;
    std::vector<int> buttons;   // IDOK, IDYES, IDNO, ... in the box's order
};

bool IsMessageBox(HWND window);
// Nothing when the box does not answer, as while its program ends.
std::optional<MessageBoxView> ReadMessageBox(HWND box);
// Presses the button that gives this answer (IDOK, IDYES, IDNO); true once the box is gone.
bool Answer(const MessageBoxView& box, int button);
// For failure messages: "caption" / "text" / icon / buttons.
std::string Describe(const MessageBoxView& box);
