// The application object: start-up checks, the main dialog and its worker.
#pragma once

#include "Afx.h"
#include "UpdateInfo.h"

class CTessalyDlg;

class CTessalyApp : public CWinApp {
public:
    CTessalyApp();
    BOOL InitInstance() override;
    int ExitInstance() override;

    CUpdateInfo m_updateInfo;

private:
    // Offers a newer version when the update document announces one; never ends start-up.
    void CheckForUpdate();
    // The one worker thread, with the dialog as its parameter.
    static void StartWorker(CTessalyDlg& dialog);
    // The banner beside the dialog, unless the dialog was closed while it was created.
    static void OpenBanner(CTessalyDlg& dialog);
};
