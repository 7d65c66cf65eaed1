// The program's command line: "-h PATH" hashes one file, "-c PATH1 PATH2" compares two.
#pragma once

enum class RunMode { None, HashFile, CompareFiles };

// Only the first two characters of the switch count, case-sensitively;
// a missing switch or any other text is RunMode::None.
RunMode RunModeOf(const wchar_t* modeSwitch);

#include <string>

// The text after the last backslash of a path; the whole path when it holds none.
std::wstring FileNameOf(const std::wstring& path);
// The path up to and including its last backslash; a single backslash when it holds none.
std::wstring FolderOf(const std::wstring& path);
