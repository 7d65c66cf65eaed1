#include "BrowserText.h"

#include <cwchar>

std::wstring NormalizeBrowserAddress(const std::wstring& address)
{
    if (address.find(L"://") != std::wstring::npos)
        return address;
    if (address.size() > 1 && address[1] == L':')
        return L"file://" + address;
    return L"http://" + address;
}

std::wstring JoinVersionFolder(const std::wstring& location, const std::wstring& version)
{
    if (location.empty())
        return std::wstring();
    const bool endsWithSeparator = location.back() == L'\\';
    return location + (endsWithSeparator ? L"" : L"\\") + version;
}

bool IsVersionFolderName(const std::wstring& name)
{
    int parts[4];
    return std::swscanf(name.c_str(), L"%d.%d.%d.%d", &parts[0], &parts[1], &parts[2], &parts[3]) == 4;
}
