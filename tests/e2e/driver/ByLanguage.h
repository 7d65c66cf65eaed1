// A text of this run's language, for texts that ExpectedTexts does not hold.
#pragma once

#include "ExpectedTexts.h"

#include <cwchar>

inline const wchar_t* ByLanguage(const wchar_t* english, const wchar_t* korean)
{
    return std::wcscmp(ExpectedLanguageName(), L"korean") == 0 ? korean : english;
}
