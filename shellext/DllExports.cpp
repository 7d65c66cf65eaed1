// The five exports of the in-process server (ordinals in Larkspan.def). Those that may
// run out of memory answer E_OUTOFMEMORY rather than throw into their caller.
#include <windows.h>
#include <olectl.h>

#include <cwchar>

#include "ComBoundary.h"
#include "LarkspanModule.h"

STDAPI DllCanUnloadNow()
{
    return theModule.DllCanUnloadNow();
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object)
{
    return ComBoundary([&] { return theModule.DllGetClassObject(clsid, iid, object); });
}

STDAPI DllRegisterServer()
{
    return ComBoundary([] { return theModule.DllRegisterServer(); });
}

STDAPI DllUnregisterServer()
{
    return ComBoundary([] { return theModule.DllUnregisterServer(); });
}

// "user" (in any case, nothing after it) registers for the current user only, for the
// rest of the library's life in the process.
STDAPI DllInstall(BOOL install, LPCWSTR commandLine)
{
    if (commandLine && _wcsnicmp(commandLine, L"user", 5) == 0)
        AtlSetPerUserRegistration(true);
    if (!install)
        return DllUnregisterServer();
    const HRESULT hr = DllRegisterServer();
    if (FAILED(hr))
        DllUnregisterServer();
    return hr;
}
