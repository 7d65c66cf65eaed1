#include "TessalyApp.h"

#include <wininet.h>

#include "Arguments.h"
#include "BannerDlg.h"
#include "HashThread.h"
#include "LocalizedString.h"
#include "Product.h"
#include "TessalyDlg.h"
#include "WebAddress.h"
#include "resource.h"

namespace {
CTessalyApp theApp;

constexpr const wchar_t* kWebView2ClientKey =
    L"SOFTWARE\\WOW6432Node\\Microsoft\\EdgeUpdate\\Clients\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";

// Start-up error box: no owner, OK only, error icon.
void ShowStartupError(UINT textId, const CString& caption = CString())
{
    ::MessageBoxW(nullptr, LoadLocalizedString(textId), caption, MB_OK | MB_ICONERROR);
}

// Any readable "pv" value of the runtime's per-machine registration will do.
bool IsWebView2RuntimeRegistered()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWebView2ClientKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    wchar_t version[MAX_PATH] = {};
    DWORD size = sizeof version;
    const LSTATUS status = ::RegQueryValueExW(key, L"pv", nullptr, nullptr, reinterpret_cast<BYTE*>(version), &size);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// The document comes from the network: only web addresses go to the shell, which
// would also start a program or open a file or share path.
void OpenWebAddress(const CString& address)
{
    if (IsWebAddress(address.Str()))
        ::ShellExecuteW(nullptr, L"open", address, nullptr, nullptr, SW_SHOW);
}

bool IsOnline()
{
    DWORD flags = 0;
    return ::InternetGetConnectedState(&flags, 0) != FALSE;
}
}

CTessalyApp::CTessalyApp()
{
    m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART;
}

BOOL CTessalyApp::InitInstance()
{
    CWinApp::InitInstance();
    AfxEnableControlContainer();
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    if (ProgramArgumentCount() <= 1) {
        ShowStartupError(IDS_ERR_ARGUMENTS);
        return FALSE;
    }
    const wchar_t* path = ProgramArgument(2);
    if (!path || !::PathFileExistsW(path)) {
        ShowStartupError(IDS_ERR_PATH);
        return FALSE;
    }
    if (!IsOnline()) {
        ShowStartupError(IDS_NETWORK_ERROR, LoadLocalizedString(IDS_NETWORK_CAPTION));
        return FALSE;
    }
    if (!IsWebView2RuntimeRegistered()) {
        ShowStartupError(IDS_ERR_NO_RUNTIME);
        return FALSE;
    }
    CheckForUpdate();

    auto* dialog = new (std::nothrow) CTessalyDlg;
    if (!dialog) {
        ShowStartupError(IDS_ERR_ALLOC);
        return FALSE;
    }
    if (!dialog->Create(IDD_TESSALY_DIALOG, nullptr)) {
        ShowStartupError(IDS_ERR_DIALOG);
        return FALSE;
    }
    m_pMainWnd = dialog;
    // Until start-up is done with the dialog, closing it only hides it; the window goes
    // when the hold ends, so no step below runs on a window that is gone.
    dialog->HoldWindowForStartup();
    dialog->ShowWindow(SW_SHOW);
    dialog->UpdateWindow();
    StartWorker(*dialog);
    OpenBanner(*dialog);
    dialog->ReleaseWindowFromStartup();
    return TRUE;
}

void CTessalyApp::StartWorker(CTessalyDlg& dialog)
{
    if (dialog.m_pWorkerThread)
        return;
    // Started suspended so that the dialog owns the thread object before it can end:
    // its handle stays valid for as long as the dialog may use it.
    CWinThread* worker = AfxBeginThread(HashThreadProc, &dialog, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!worker)
        return;
    worker->m_bAutoDelete = FALSE;
    dialog.m_pWorkerThread = worker;
    worker->ResumeThread();
}

void CTessalyApp::OpenBanner(CTessalyDlg& dialog)
{
    if (dialog.m_pBannerDlg)
        return;
    // Without a banner the program still hashes.
    dialog.m_pBannerDlg = new (std::nothrow) CBannerDlg;
    if (!dialog.m_pBannerDlg)
        return;
    // The web view host may show its Failure box from inside the creation; the user may
    // close the main dialog meanwhile.
    const BOOL created = dialog.m_pBannerDlg->Create(IDD_BANNER_DIALOG, &dialog);
    if (!created || dialog.IsClosePending())
        return;
    dialog.m_pBannerDlg->ShowWindow(SW_SHOW);
    dialog.PlaceBanner();
}

void CTessalyApp::CheckForUpdate()
{
    const CString caption = LoadLocalizedString(IDS_UPDATE_CAPTION, product::kWord, product::kShortVersion);
    if (!m_updateInfo.Load(true)) {
        ::MessageBoxW(nullptr, LoadLocalizedString(IDS_UPDATE_NOT_FOUND), caption, MB_OK | MB_ICONERROR);
        return;
    }
    if (m_updateInfo.m_nVersion <= product::kVersionNumber)
        return;
    const CString prompt = LoadLocalizedString(IDS_UPDATE_PROMPT, product::kWord, product::kFullVersion,
                                               m_updateInfo.m_strVersion.GetString());
    if (::MessageBoxW(nullptr, prompt, caption, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        OpenWebAddress(m_updateInfo.m_strWebUrl);
        OpenWebAddress(m_updateInfo.m_strMsiUrl);
    }
}

int CTessalyApp::ExitInstance()
{
    m_updateInfo.Release();   // COM interfaces go before COM does
    ::CoUninitialize();
    return CWinApp::ExitInstance();
}
