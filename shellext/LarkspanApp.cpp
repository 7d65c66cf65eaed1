#include "LarkspanApp.h"

#include "ComBoundary.h"

// The statically linked C++ runtime's own clean-up, declared in none of its headers: it
// frees (and does nothing else) the reserve for exceptions thrown when memory has run
// out, 73 KiB that the runtime takes with malloc when the library starts.
namespace __gnu_cxx {
void __freeres();
}

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

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        // Nothing may be thrown into the loader: running out of memory refuses the load.
        return ComBoundary([&] { return AttachProcess(instance) ? S_OK : E_FAIL; }) == S_OK;
    case DLL_PROCESS_DETACH:
        theApp.ExitInstance();
        // Only when the library is freed: the host goes on and would keep the reserve of
        // every load (at the end of the process it goes with the process). The freed
        // reserve stays on the runtime's free list, so nothing may throw from here on;
        // the static destructors, which mingw-w64's start-up code runs after DllMain,
        // throw nothing.
        if (!reserved)
            __gnu_cxx::__freeres();
        return TRUE;
    default:
        return TRUE;
    }
}
