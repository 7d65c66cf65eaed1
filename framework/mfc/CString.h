// CString: the wide string of the framework layer, a thin wrapper over std::wstring.
// Formatting follows the Windows CRT's wide printf: "%s" takes a wide string and
// "%I64u" a 64-bit unsigned number, whatever the toolchain's C99 stdio setting is.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_str(text ? text : L"") {}
    CString(const wchar_t* text, int length) : m_str(text, static_cast<size_t>(length)) {}
    CString(const std::wstring& text) : m_str(text) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    const wchar_t* GetString() const { return m_str.c_str(); }
    operator const wchar_t*() const { return m_str.c_str(); }
    const std::wstring& Str() const { return m_str; }
    wchar_t GetAt(int index) const { return m_str.at(static_cast<size_t>(index)); }

    CString& operator+=(const CString& other) { m_str += other.m_str; return *this; }
    CString& operator+=(const wchar_t* text) { m_str += text ? text : L""; return *this; }
    CString& operator+=(wchar_t ch) { m_str += ch; return *this; }
    friend CString operator+(CString left, const CString& right) { return left += right; }
    friend CString operator+(CString left, const wchar_t* right) { return left += right; }
    friend CString operator+(const wchar_t* left, const CString& right) { return CString(left) += right; }

    bool operator==(const CString& other) const { return m_str == other.m_str; }
    bool operator!=(const CString& other) const { return m_str != other.m_str; }
    bool operator==(const wchar_t* text) const { return m_str == (text ? text : L""); }
    bool operator!=(const wchar_t* text) const { return !(*this == text); }
    bool operator<(const CString& other) const { return m_str < other.m_str; }
    // Ordinal comparison; CompareNoCase ignores letter case as the platform folds it.
    int Compare(const wchar_t* text) const;
    int CompareNoCase(const wchar_t* text) const;

    // printf-style formatting with the Windows CRT's wide conventions.
    void Format(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);
    void AppendFormat(const wchar_t* format, ...);
    void AppendFormatV(const wchar_t* format, va_list args);

    // Loads string-table entry `id` in the given language from `module`.
    // FALSE, and an empty string, when the table has no such entry.
    BOOL LoadString(HINSTANCE module, UINT id, WORD languageId);

    CString& MakeUpper();
    CString& Trim();      // blanks, TAB, CR and LF at both ends
    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* text, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

private:
    std::wstring m_str;
};

// String-table lookup shared by CString::LoadString and the extension's loader:
// the entry `id` of the block stored under `languageId`, or an empty text.
std::wstring LoadStringEntry(HMODULE module, UINT id, WORD languageId, bool* found = nullptr);
