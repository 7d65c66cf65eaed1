// Stands in for Tessaly.exe in the extension's tests: appends its command line, as one
// UTF-8 line, to "command-lines.txt" in its own folder, and ends.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    wchar_t self[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring log(self, length);
    log = log.substr(0, log.rfind(L'\\') + 1) + L"command-lines.txt";

    const wchar_t* commandLine = GetCommandLineW();
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
    std::string line(static_cast<size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
    if (!line.empty())
        WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, &line[0], bytes, nullptr, nullptr);
    line += '\n';

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
