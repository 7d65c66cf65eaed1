// The command line by which the extension starts the program: "-h PATH " hashes one
// file, "-c PATH1 PATH2 " compares two. Portable, so that it is tested natively.
#pragma once

#include <string>
#include <vector>

// The path in double quotes when it holds a blank, else as it is; any length.
std::wstring QuoteSpaces(const std::wstring& path);

// "-h " for a selection of one file, "-c " otherwise, then every (already quoted)
// path followed by one blank.
std::wstring ProgramParameters(int selCount, const std::vector<std::wstring>& quotedPaths);
