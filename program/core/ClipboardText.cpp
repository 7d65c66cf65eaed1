#include "ClipboardText.h"

namespace {
std::wstring Trimmed(const std::wstring& text)
{
    const wchar_t* const blanks = L" \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::wstring RowText(const ListRow& row, bool withNames, size_t valueColumn)
{
    if (!withNames)
        return (valueColumn < row.size() ? row[valueColumn] : std::wstring()) + L"\t";
    std::wstring text;
    for (size_t column = 0; column < row.size(); ++column) {
        if (column > 0)
            text += L"\t";
        text += row[column];
    }
    return text;
}
}

std::wstring BuildClipboardText(const std::vector<ListRow>& rows, bool withNames, size_t valueColumn)
{
    std::wstring text;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0)
            text += L"\r\n";
        text += RowText(rows[i], withNames, valueColumn);
    }
    return Trimmed(text);
}
