// The per-machine registration of the WebView2 runtime that start-up looks for:
// HKLM\SOFTWARE\WOW6432Node\Microsoft\EdgeUpdate\Clients\{F3017226-...} value "pv".
// No runtime exists under Wine, so tests that need start-up to pass write it.
#pragma once

#include <windows.h>

#include <string>

namespace runtime_registration {

void WriteVersion(const std::wstring& version = L"120.0.0.0");
void WriteVersionAsNumber(DWORD version);
void WriteKeyWithoutVersion();
void Remove();

}  // namespace runtime_registration
