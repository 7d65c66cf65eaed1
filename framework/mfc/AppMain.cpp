// The program's entry point: the one CWinApp object runs the program.
#include "WinApp.h"

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    // The common controls of the program's dialogs, before any dialog is made.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_LINK_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    app->AttachModule(instance);
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
