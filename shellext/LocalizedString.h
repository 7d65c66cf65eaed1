// The extension's texts in the user's language: Korean when the user's default
// language is Korean (1042), English otherwise.
#pragma once

#include "CString.h"

// String-table entry `id` of `module` in the user's language, formatted printf-style
// with the further arguments ("%s" takes a wide string). Empty when the table lacks it.
CString LoadLocalizedString(HMODULE module, UINT id, ...);
