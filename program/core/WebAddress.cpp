#include "WebAddress.h"

#include <algorithm>

namespace {
bool StartsWithNoCase(const std::wstring& text, const std::wstring& lowerPrefix)
{
    if (text.size() < lowerPrefix.size())
        return false;
    return std::equal(lowerPrefix.begin(), lowerPrefix.end(), text.begin(), [](wchar_t expected, wchar_t c) {
        return (c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c) == expected;
    });
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 ||
           c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

bool IsControl(wchar_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Characters that end or split an argument on a command line, or make a path of it.
bool IsUnsafe(wchar_t c)
{
    return IsBlank(c) || IsControl(c) || c == L'"' || c == L'\\';
}

// The host of the authority "user@host:port" (an IPv6 host in brackets may hold colons).
bool HasHost(const std::wstring& authority)
{
    const size_t at = authority.rfind(L'@');
    const std::wstring hostAndPort = at == std::wstring::npos ? authority : authority.substr(at + 1);
    if (!hostAndPort.empty() && hostAndPort[0] == L'[') {
        const size_t close = hostAndPort.find(L']');
        return close != std::wstring::npos && close > 1;
    }
    return hostAndPort.find(L':') != 0 && !hostAndPort.empty();
}
}

bool IsWebAddress(const std::wstring& address)
{
    if (std::any_of(address.begin(), address.end(), IsUnsafe))
        return false;
    for (const std::wstring scheme : {L"http://", L"https://"}) {
        if (StartsWithNoCase(address, scheme)) {
            const size_t start = scheme.size();
            const size_t end = address.find_first_of(L"/?#", start);
            return HasHost(address.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        }
    }
    return false;
}
