#include "CallLog.h"

#include <windows.h>

#include "FaultPlan.h"

namespace call_log {
void Write(const std::wstring& line)
{
    const std::wstring stamped = std::to_wstring(::GetTickCount64()) + L" " + line + L"\n";
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, stamped.c_str(), static_cast<int>(stamped.size()), nullptr,
                                            0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, stamped.c_str(), static_cast<int>(stamped.size()), &utf8[0], bytes, nullptr,
                          nullptr);
    const std::wstring path = fault_plan::LibraryFolder() + L"WebView2Double.log";
    HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    ::CloseHandle(file);
}
}
