// The program's command line: "-h PATH" hashes one file, "-c PATH1 PATH2" compares two.
#pragma once

enum class RunMode { None, HashFile, CompareFiles };

// Only the first two characters of the switch count, case-sensitively;
// a missing switch or any other text is RunMode::None.
RunMode RunModeOf(const wchar_t* modeSwitch);
