// The text the result list's copy commands put on the clipboard.
#pragma once

#include <string>
#include <vector>

using ListRow = std::vector<std::wstring>;   // the texts of a row's columns

// Rows separated by CR LF. With names: all columns of each row joined by TAB.
// Without: the value column of each row followed by TAB. The whole is trimmed of
// blanks, TABs, CR and LF at both ends.
std::wstring BuildClipboardText(const std::vector<ListRow>& rows, bool withNames, size_t valueColumn);
