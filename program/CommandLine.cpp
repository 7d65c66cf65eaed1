#include "CommandLine.h"

namespace {
bool StartsWith(const wchar_t* text, wchar_t first, wchar_t second)
{
    return text && text[0] == first && text[1] == second;
}
}

RunMode RunModeOf(const wchar_t* modeSwitch)
{
    if (StartsWith(modeSwitch, L'-', L'h'))
        return RunMode::HashFile;
    if (StartsWith(modeSwitch, L'-', L'c'))
        return RunMode::CompareFiles;
    return RunMode::None;
}
