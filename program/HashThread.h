// The worker thread: the run that the command line chose, carried out on the main dialog.
#pragma once

#include "Afx.h"

// The worker thread's entry; `param` is the main dialog. Sets the dialog's done flag
// however the run ends, and always returns 0.
UINT __cdecl HashThreadProc(LPVOID param);
