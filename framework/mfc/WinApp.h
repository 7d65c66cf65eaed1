// CWinApp: the one application object of a program or library. The program's entry
// point (AppMain.cpp) runs InitInstance, the message loop while the main window lives,
// and ExitInstance, whose result becomes the process's exit code.
#pragma once

#include <windows.h>

#include "CString.h"
#include "Wnd.h"

inline constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_RESTART = 0x1;

class CWinApp {
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // Message loop: runs until the main window has been destroyed, then ExitInstance.
    virtual int Run();
    // Gives the main window and its children the first look at each queued message.
    virtual BOOL PreTranslateMessage(MSG* msg);

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    CString m_strAppName;                 // the module's file name without extension
    DWORD m_dwRestartManagerSupportFlags = 0;

    // Called by the entry point before InitInstance.
    void AttachModule(HINSTANCE module);

private:
    WPARAM m_quitCode = 0;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
CWnd* AfxGetMainWnd();
// A message box owned by the main window, captioned with the application's name.
int AfxMessageBox(const wchar_t* text, UINT type = MB_OK, UINT helpId = 0);
// Part of the dialog's start-up in the platform's framework; nothing to do here.
inline BOOL AfxEnableControlContainer() { return TRUE; }
