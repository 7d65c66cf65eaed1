// What the recording program (RecordCommandLine.cpp) noted of its starts in one folder.
#pragma once

#include <string>
#include <vector>

// The command lines of the copies of the recording program in `folder`, in the order
// in which they were started (not the order in which each got to write its line).
std::vector<std::wstring> RecordedCommandLines(const std::wstring& folder);
// Forgets the starts noted so far.
void ForgetRecordedCommandLines(const std::wstring& folder);
