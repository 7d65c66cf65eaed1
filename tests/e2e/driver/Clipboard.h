// The clipboard of the Wine session that the program shares with the driver.
#pragma once

#include <optional>
#include <string>

// The CF_UNICODETEXT on the clipboard; nothing when it holds no text or cannot be opened.
std::optional<std::wstring> ClipboardText();
// Replaces the clipboard's contents with this text; true when it is there.
bool PutOnClipboard(const std::wstring& text);
