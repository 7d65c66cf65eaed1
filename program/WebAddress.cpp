#include "WebAddress.h"

#include <cwctype>

namespace {
bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (static_cast<wchar_t>(std::towlower(text[i])) != prefix[i])
            return false;
    }
    return true;
}

bool HasHostAt(const std::wstring& address, size_t at)
{
    return at < address.size() && address[at] != L'/' && address[at] != L'\\' && !std::iswspace(address[at]);
}
}

bool IsWebAddress(const std::wstring& address)
{
    for (const std::wstring scheme : {L"http://", L"https://"}) {
        if (StartsWithNoCase(address, scheme))
            return HasHostAt(address, scheme.size());
    }
    return false;
}
