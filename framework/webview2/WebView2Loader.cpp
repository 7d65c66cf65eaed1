#include "WebView2Loader.h"

#include <string>

namespace {
using CreateEnvironmentFunction = HRESULT(STDAPICALLTYPE*)(PCWSTR, PCWSTR, ICoreWebView2EnvironmentOptions*,
                                                          ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*);

std::wstring LoaderPath()
{
    wchar_t program[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring path(program, length);
    path.erase(path.find_last_of(L'\\') + 1);
    return path + L"WebView2Loader.dll";
}

// Looked up once; the library stays loaded for the life of the process, since the
// runtime's objects live in it.
CreateEnvironmentFunction LoaderEntry()
{
    static const CreateEnvironmentFunction entry = [] {
        HMODULE loader = ::LoadLibraryW(LoaderPath().c_str());
        return loader ? reinterpret_cast<CreateEnvironmentFunction>(reinterpret_cast<void*>(
                            ::GetProcAddress(loader, "CreateCoreWebView2EnvironmentWithOptions")))
                      : nullptr;
    }();
    return entry;
}
}

HRESULT CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder, ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler)
{
    const CreateEnvironmentFunction entry = LoaderEntry();
    if (!entry)
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    return entry(browserExecutableFolder, userDataFolder, environmentOptions, environmentCreatedHandler);
}
