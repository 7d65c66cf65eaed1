// CLarkspanApp: the extension's application object. The library's entry point runs
// InitInstance when a process loads the library and ExitInstance when it unloads it.
#pragma once

#include "WinApp.h"

class CLarkspanApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;
};
