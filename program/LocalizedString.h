// The program's texts in the user's language: Korean when the user's default language
// is Korean (1042), English otherwise.
#pragma once

#include "Afx.h"

inline constexpr WORD kLangKorean = 1042;
inline constexpr WORD kLangEnglish = 1033;

bool IsKoreanUser();
// The Korean or the English text of a text written into the code.
const wchar_t* LocalizedText(const wchar_t* korean, const wchar_t* english);
// String-table entry `id` in the user's language, formatted printf-style with the
// further arguments (always formatted, so "%%" gives "%"). Empty when the table lacks it.
CString LoadLocalizedString(UINT id, ...);
