// The program's entry point: the one CWinApp object runs the program.
#include "WinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->AttachModule(instance);
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
