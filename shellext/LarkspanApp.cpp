#include "LarkspanApp.h"

#include "ComBoundary.h"

namespace {

CLarkspanApp theApp;

// FALSE refuses the load.
BOOL AttachProcess(HINSTANCE instance)
{
    theApp.AttachModule(instance);
    if (theApp.InitInstance())
        return TRUE;
    theApp.ExitInstance();
    return FALSE;
}

} // namespace

BOOL CLarkspanApp::InitInstance()
{
    return CWinApp::InitInstance();
}

int CLarkspanApp::ExitInstance()
{
    return CWinApp::ExitInstance();
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        // Nothing may be thrown into the loader: running out of memory refuses the load.
        return ComBoundary([&] { return AttachProcess(instance) ? S_OK : E_FAIL; }) == S_OK;
    case DLL_PROCESS_DETACH:
        theApp.ExitInstance();
        return TRUE;
    default:
        return TRUE;
    }
}
