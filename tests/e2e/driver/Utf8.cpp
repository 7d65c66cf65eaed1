#include "Utf8.h"

#include <windows.h>

std::string Utf8(const std::wstring& text)
{
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::wstring FromUtf8(const std::string& text)
{
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::vector<std::string> Utf8(const std::vector<std::wstring>& texts)
{
    std::vector<std::string> converted;
    for (const std::wstring& text : texts)
        converted.push_back(Utf8(text));
    return converted;
}

std::vector<std::vector<std::string>> Utf8(const std::vector<std::vector<std::wstring>>& rows)
{
    std::vector<std::vector<std::string>> converted;
    for (const std::vector<std::wstring>& row : rows)
        converted.push_back(Utf8(row));
    return converted;
}
