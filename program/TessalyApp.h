// The application object: start-up checks, the main dialog and its worker.
#pragma once

#include "Afx.h"

class CTessalyApp : public CWinApp {
public:
    CTessalyApp();
    BOOL InitInstance() override;
    int ExitInstance() override;
};

// The worker thread's entry; `param` is the main dialog. Always returns 0.
UINT __cdecl HashThreadProc(LPVOID param);
