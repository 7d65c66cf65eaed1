// The tests' side of the loader double: telling it which steps fail and reading what
// the host called. Both files live beside the double's library.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace webview2_double {
struct Call {
    uint64_t tick;       // GetTickCount64 when the call was made
    std::wstring text;   // "<call> <arguments>"
};

// A [faults] entry: a step and its result ("0x80004005"), or a flag and "1".
using Fault = std::pair<std::wstring, std::wstring>;

// Writes the double's settings in `folder` (only these faults) and removes its call log.
void Prepare(const std::wstring& folder, const std::vector<Fault>& faults = {});
std::vector<Call> ReadCalls(const std::wstring& folder);
// The texts of the calls, without their times.
std::vector<std::wstring> ReadCallTexts(const std::wstring& folder);
// The texts of the calls that start with `prefix`.
std::vector<std::wstring> CallsStartingWith(const std::wstring& folder, const std::wstring& prefix);

// An HRESULT as the settings file writes it: "0x" and eight hexadecimal digits.
std::wstring HexResult(HRESULT result);
}
