// The record of every call the host makes: WebView2Double.log beside the library, one
// line per call, "<milliseconds since boot> <call> <arguments>", in UTF-8.
#pragma once

#include <string>

namespace call_log {
void Write(const std::wstring& line);
}
