#include "WinApp.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp()
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::AttachModule(HINSTANCE module)
{
    m_hInstance = module;
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(module, path, MAX_PATH);
    CString name(path);
    name = name.Mid(name.ReverseFind(L'\\') + 1);
    const int dot = name.ReverseFind(L'.');
    m_strAppName = dot >= 0 ? name.Left(dot) : name;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return static_cast<int>(m_quitCode);
}

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    // From the target window up its parents: the first object that takes the message wins.
    for (HWND hWnd = msg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(msg))
            return TRUE;
    }
    return FALSE;
}

int CWinApp::Run()
{
    // The destruction of the main window posts the quit message that ends the loop. A
    // modal loop that ran meanwhile (a message box during start-up) may have taken that
    // message, so the loop also ends once the main window is gone.
    MSG msg = {};
    while (m_pMainWnd) {
        if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            m_quitCode = msg.wParam;   // the exit code carried by WM_QUIT
            break;
        }
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return ExitInstance();
}

CWinApp* AfxGetApp()
{
    return g_app;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_app ? g_app->m_hInstance : ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}

int AfxMessageBox(const wchar_t* text, UINT type, UINT)
{
    CWnd* main = AfxGetMainWnd();
    const wchar_t* caption = g_app ? g_app->m_strAppName.GetString() : L"";
    return ::MessageBoxW(main ? main->m_hWnd : nullptr, text, caption, type);
}
