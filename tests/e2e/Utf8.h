// Conversions between the driver's wide texts and UTF-8 (paths, failure messages).
#pragma once

#include <string>

std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
