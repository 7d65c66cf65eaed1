#include "Clipboard.h"

#include "WindowQuery.h"

#include <windows.h>

#include <cstring>

namespace {

// Another program may hold the clipboard for a moment.
bool OpenTheClipboard()
{
    return WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 2s);
}

}  // namespace

std::optional<std::wstring> ClipboardText()
{
    if (!OpenTheClipboard())
        return std::nullopt;
    std::optional<std::wstring> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* locked = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = std::wstring(locked, wcsnlen(locked, GlobalSize(data) / sizeof(wchar_t)));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

bool PutOnClipboard(const std::wstring& text)
{
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory)
        return false;
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!OpenTheClipboard()) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!placed)
        GlobalFree(memory);
    CloseClipboard();
    return placed && ClipboardText() == text;
}
