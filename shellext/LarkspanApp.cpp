#include "LarkspanApp.h"

namespace {
CLarkspanApp theApp;
}

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
        theApp.AttachModule(instance);
        if (!theApp.InitInstance()) {
            theApp.ExitInstance();
            return FALSE;
        }
        return TRUE;
    case DLL_PROCESS_DETACH:
        theApp.ExitInstance();
        return TRUE;
    default:
        return TRUE;
    }
}
