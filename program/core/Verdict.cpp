#include "Verdict.h"

#include <algorithm>
#include <cwctype>

HashKind CompareHashOf(uint32_t index)
{
    return index < kHashCount ? static_cast<HashKind>(index) : HashKind::Crc32;
}

bool HashValuesMatch(const std::wstring& first, const std::wstring& second)
{
    if (first.empty() || second.empty() || first.size() != second.size())
        return false;
    return std::equal(first.begin(), first.end(), second.begin(),
                      [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}
