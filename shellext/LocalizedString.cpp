#include "LocalizedString.h"

namespace {
constexpr WORD kLangKorean = 1042;
constexpr WORD kLangEnglish = 1033;
}

CString LoadLocalizedString(HMODULE module, UINT id, ...)
{
    const WORD language = ::GetUserDefaultLangID() == kLangKorean ? kLangKorean : kLangEnglish;
    const std::wstring format = LoadStringEntry(module, id, language);
    va_list args;
    va_start(args, id);
    CString text;
    text.FormatV(format.c_str(), args);
    va_end(args);
    return text;
}
