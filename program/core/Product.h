// Product word and versions shared by the program and the shell extension.
#pragma once

namespace product {
inline constexpr const wchar_t* kWord = L"Larkspan";
inline constexpr const wchar_t* kShortVersion = L"2.1";
inline constexpr const wchar_t* kFullVersion = L"2.1.2.5";
inline constexpr unsigned kVersionNumber = 2125;   // the full version without its dots
inline constexpr const wchar_t* kProgramFile = L"Tessaly.exe";
}
