// What the test asks of the double: WebView2Double.ini beside the library, read anew at
// every question so that a test may change it between runs. Section [faults] names a
// step and the HRESULT it gives (hexadecimal, "0x8007000E"); flags are 1 or 0.
#pragma once

#include <windows.h>

#include <string>

namespace fault_plan {
// The result the named step gives; S_OK when the test sets none.
HRESULT StepResult(const wchar_t* step);
// A [faults] flag such as "NullController".
bool Flag(const wchar_t* name);
// The double's library.
HMODULE LibraryModule();
// The folder the double's library lives in, with a trailing "\".
std::wstring LibraryFolder();
}
