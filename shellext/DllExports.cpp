// The five exports of the in-process server (ordinals in Larkspan.def).
#include <windows.h>
#include <olectl.h>

#include <cwchar>

#include "LarkspanModule.h"

STDAPI DllCanUnloadNow()
{
    return theModule.DllCanUnloadNow();
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object)
{
    return theModule.DllGetClassObject(clsid, iid, object);
}

STDAPI DllRegisterServer()
{
    return theModule.DllRegisterServer();
}

STDAPI DllUnregisterServer()
{
    return theModule.DllUnregisterServer();
}

// "user" (in any case, nothing after it) registers for the current user only, for the
// rest of the library's life in the process.
STDAPI DllInstall(BOOL install, LPCWSTR commandLine)
{
    if (commandLine && _wcsnicmp(commandLine, L"user", 5) == 0)
        AtlSetPerUserRegistration(true);
    if (!install)
        return theModule.DllUnregisterServer();
    const HRESULT hr = theModule.DllRegisterServer();
    if (FAILED(hr))
        theModule.DllUnregisterServer();
    return hr;
}
