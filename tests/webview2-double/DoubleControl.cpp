#include "DoubleControl.h"

#include <cwchar>
#include <filesystem>
#include <fstream>

namespace {
std::wstring FromUtf8(const std::string& text)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}
}

namespace webview2_double {
void Prepare(const std::wstring& folder, const std::vector<Fault>& faults)
{
    const std::wstring settings = folder + L"WebView2Double.ini";
    ::DeleteFileW(settings.c_str());
    ::DeleteFileW((folder + L"WebView2Double.log").c_str());
    for (const Fault& fault : faults)
        ::WritePrivateProfileStringW(L"faults", fault.first.c_str(), fault.second.c_str(), settings.c_str());
}

std::vector<Call> ReadCalls(const std::wstring& folder)
{
    std::ifstream log(std::filesystem::path(folder + L"WebView2Double.log"), std::ios::binary);
    std::vector<Call> calls;
    std::string line;
    while (std::getline(log, line)) {
        const size_t blank = line.find(' ');
        if (blank == std::string::npos)
            continue;
        calls.push_back({std::stoull(line.substr(0, blank)), FromUtf8(line.substr(blank + 1))});
    }
    return calls;
}

std::vector<std::wstring> ReadCallTexts(const std::wstring& folder)
{
    std::vector<std::wstring> texts;
    for (const Call& call : ReadCalls(folder))
        texts.push_back(call.text);
    return texts;
}

std::vector<std::wstring> CallsStartingWith(const std::wstring& folder, const std::wstring& prefix)
{
    std::vector<std::wstring> found;
    for (const std::wstring& text : ReadCallTexts(folder)) {
        if (text.compare(0, prefix.size(), prefix) == 0)
            found.push_back(text);
    }
    return found;
}

std::wstring HexResult(HRESULT result)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08X", static_cast<unsigned>(result));
    return text;
}
}
