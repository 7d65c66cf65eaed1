#include "ProgramParameters.h"

std::wstring QuoteSpaces(const std::wstring& path)
{
    return path.find(L' ') == std::wstring::npos ? path : L"\"" + path + L"\"";
}

std::wstring ProgramParameters(int selCount, const std::vector<std::wstring>& quotedPaths)
{
    std::wstring parameters = selCount == 1 ? L"-h " : L"-c ";
    for (const std::wstring& path : quotedPaths)
        parameters += path + L" ";
    return parameters;
}
