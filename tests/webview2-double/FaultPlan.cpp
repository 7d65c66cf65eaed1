#include "FaultPlan.h"

#include <cwchar>

namespace {
std::wstring SettingsFile()
{
    return fault_plan::LibraryFolder() + L"WebView2Double.ini";
}

std::wstring ReadFault(const wchar_t* name)
{
    wchar_t value[64] = {};
    ::GetPrivateProfileStringW(L"faults", name, L"", value, 64, SettingsFile().c_str());
    return value;
}
}

namespace fault_plan {
HMODULE LibraryModule()
{
    HMODULE self = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&LibraryModule), &self);
    return self;
}

std::wstring LibraryFolder()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(LibraryModule(), path, MAX_PATH);
    std::wstring folder(path, length);
    folder.erase(folder.find_last_of(L'\\') + 1);
    return folder;
}

HRESULT StepResult(const wchar_t* step)
{
    const std::wstring value = ReadFault(step);
    return value.empty() ? S_OK : static_cast<HRESULT>(std::wcstoul(value.c_str(), nullptr, 16));
}

bool Flag(const wchar_t* name)
{
    return ReadFault(name) == L"1";
}
}
