// The program's own command-line arguments, split by the C runtime's rules.
#pragma once

#include <cstdlib>

// Argument `index` (0 is the program path), or null when there is no such argument.
inline const wchar_t* ProgramArgument(int index)
{
    return index >= 0 && index < __argc ? __wargv[index] : nullptr;
}

inline int ProgramArgumentCount()
{
    return __argc;
}
