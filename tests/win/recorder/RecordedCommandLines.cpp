#include "RecordedCommandLines.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace {

std::wstring LogOf(const std::wstring& folder)
{
    return folder + L"\\command-lines.txt";
}

std::wstring FromUtf8(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring converted(static_cast<size_t>(length), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &converted[0], length);
    return converted;
}

struct Start {
    unsigned long long created;
    std::wstring commandLine;
};

}  // namespace

std::vector<std::wstring> RecordedCommandLines(const std::wstring& folder)
{
    std::vector<Start> starts;
    std::ifstream log(LogOf(folder).c_str());
    // Only whole lines: the last one may still be being written.
    for (std::string line; std::getline(log, line) && !log.eof();) {
        const size_t tab = line.find('\t');
        starts.push_back({std::stoull(line.substr(0, tab)), FromUtf8(line.substr(tab + 1))});
    }
    std::stable_sort(starts.begin(), starts.end(),
                     [](const Start& a, const Start& b) { return a.created < b.created; });
    std::vector<std::wstring> commandLines;
    for (Start& start : starts)
        commandLines.push_back(std::move(start.commandLine));
    return commandLines;
}

void ForgetRecordedCommandLines(const std::wstring& folder)
{
    DeleteFileW(LogOf(folder).c_str());
}
