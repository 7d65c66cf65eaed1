// Conversions between the driver's wide texts and UTF-8 (paths, failure messages).
#pragma once

#include <string>
#include <vector>

std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
// Lists of texts and table rows, such as a list view's, cell by cell: gives readable
// failure messages.
std::vector<std::string> Utf8(const std::vector<std::wstring>& texts);
std::vector<std::vector<std::string>> Utf8(const std::vector<std::vector<std::wstring>>& rows);
