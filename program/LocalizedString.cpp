#include "LocalizedString.h"

bool IsKoreanUser()
{
    return ::GetUserDefaultLangID() == kLangKorean;
}

const wchar_t* LocalizedText(const wchar_t* korean, const wchar_t* english)
{
    return IsKoreanUser() ? korean : english;
}

CString LoadLocalizedString(UINT id, ...)
{
    CString format;
    format.LoadString(AfxGetInstanceHandle(), id, IsKoreanUser() ? kLangKorean : kLangEnglish);
    va_list args;
    va_start(args, id);
    CString text;
    text.FormatV(format, args);
    va_end(args);
    return text;
}
