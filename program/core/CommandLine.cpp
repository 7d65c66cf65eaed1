#include "CommandLine.h"

namespace {
bool StartsWith(const wchar_t* text, wchar_t first, wchar_t second)
{
    return text && text[0] == first && text[1] == second;
}
}

RunMode RunModeOf(const wchar_t* modeSwitch)
{
    if (StartsWith(modeSwitch, L'-', L'h'))
        return RunMode::HashFile;
    if (StartsWith(modeSwitch, L'-', L'c'))
        return RunMode::CompareFiles;
    return RunMode::None;
}

std::wstring FileNameOf(const std::wstring& path)
{
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring(L"\\") : path.substr(0, slash + 1);
}
