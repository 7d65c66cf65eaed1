// Stands in for a program that is started by what the tests check (Tessaly.exe in the
// extension's tests, the shell's handlers of what the update prompt opens): appends one
// line to "command-lines.txt" in its own folder, and ends. The line holds the time at
// which this process was created, a tab and the command line, in UTF-8. Programs
// started one after the other by one caller may reach the file in either order; their
// creation times keep the order in which they were started (RecordedCommandLines).
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const wchar_t* text)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
    if (!converted.empty())
        WideCharToMultiByte(CP_UTF8, 0, text, -1, &converted[0], bytes, nullptr, nullptr);
    return converted;
}

// In 100-nanosecond units since 1601, as the system keeps it.
ULONGLONG CreationTimeOfThisProcess()
{
    FILETIME creation{}, exit{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
    return (static_cast<ULONGLONG>(creation.dwHighDateTime) << 32) | creation.dwLowDateTime;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    wchar_t self[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring log(self, length);
    log = log.substr(0, log.rfind(L'\\') + 1) + L"command-lines.txt";

    const std::string line = std::to_string(CreationTimeOfThisProcess()) + "\t" + Utf8(GetCommandLineW()) + "\n";

    // One write in append mode, so that lines of starts close together stay whole.
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
