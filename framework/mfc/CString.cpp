#include "CString.h"

#include <cwchar>
#include <vector>

namespace {

// _vscwprintf and _vsnwprintf are the Windows CRT's own entry points: they keep the
// platform meaning of "%s" (wide) and "%I64u" even where libstdc++ switches the
// standard names to mingw's C99 implementation.
std::wstring FormatWithCrt(const wchar_t* format, va_list args)
{
    if (!format)
        return {};
    va_list measure;
    va_copy(measure, args);
    const int length = _vscwprintf(format, measure);
    va_end(measure);
    if (length <= 0)
        return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    va_list write;
    va_copy(write, args);
    _vsnwprintf(buffer.data(), buffer.size(), format, write);
    va_end(write);
    return std::wstring(buffer.data(), static_cast<size_t>(length));
}

bool IsTrimmed(wchar_t ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n';
}

} // namespace

int CString::Compare(const wchar_t* text) const
{
    return m_str.compare(text ? text : L"");
}

int CString::CompareNoCase(const wchar_t* text) const
{
    return _wcsicmp(m_str.c_str(), text ? text : L"");
}

void CString::Format(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const wchar_t* format, va_list args)
{
    m_str = FormatWithCrt(format, args);
}

void CString::AppendFormat(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

void CString::AppendFormatV(const wchar_t* format, va_list args)
{
    m_str += FormatWithCrt(format, args);
}

BOOL CString::LoadString(HINSTANCE module, UINT id, WORD languageId)
{
    bool found = false;
    m_str = LoadStringEntry(module, id, languageId, &found);
    return found ? TRUE : FALSE;
}

CString& CString::MakeUpper()
{
    if (!m_str.empty())
        CharUpperBuffW(&m_str[0], static_cast<DWORD>(m_str.size()));
    return *this;
}

CString& CString::Trim()
{
    size_t first = 0;
    while (first < m_str.size() && IsTrimmed(m_str[first]))
        ++first;
    size_t end = m_str.size();
    while (end > first && IsTrimmed(m_str[end - 1]))
        --end;
    m_str = m_str.substr(first, end - first);
    return *this;
}

int CString::Find(wchar_t ch, int start) const
{
    const size_t at = m_str.find(ch, static_cast<size_t>(start < 0 ? 0 : start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const wchar_t* text, int start) const
{
    const size_t at = m_str.find(text ? text : L"", static_cast<size_t>(start < 0 ? 0 : start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(wchar_t ch) const
{
    const size_t at = m_str.rfind(ch);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

CString CString::Left(int count) const
{
    return CString(m_str.substr(0, static_cast<size_t>(count < 0 ? 0 : count)));
}

CString CString::Mid(int first) const
{
    if (first < 0)
        first = 0;
    if (static_cast<size_t>(first) >= m_str.size())
        return CString();
    return CString(m_str.substr(static_cast<size_t>(first)));
}

CString CString::Mid(int first, int count) const
{
    if (first < 0)
        first = 0;
    if (count < 0 || static_cast<size_t>(first) >= m_str.size())
        return CString();
    return CString(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

std::wstring LoadStringEntry(HMODULE module, UINT id, WORD languageId, bool* found)
{
    if (found)
        *found = false;
    // A string table is stored in blocks of sixteen length-prefixed UTF-16 entries.
    HRSRC block = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), languageId);
    if (!block)
        return {};
    HGLOBAL loaded = LoadResource(module, block);
    const auto* entry = static_cast<const WCHAR*>(loaded ? LockResource(loaded) : nullptr);
    const DWORD blockChars = SizeofResource(module, block) / sizeof(WCHAR);
    if (!entry)
        return {};
    const WCHAR* const end = entry + blockChars;
    for (UINT index = 0; index < id % 16; ++index) {
        if (entry >= end)
            return {};
        entry += 1 + *entry;
    }
    if (entry >= end || *entry == 0 || entry + 1 + *entry > end)
        return {};
    if (found)
        *found = true;
    return std::wstring(entry + 1, *entry);
}
