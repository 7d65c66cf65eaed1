#include "BannerDlg.h"

#include <new>
#include <utility>

#include "EdgeWebBrowser.h"
#include "MakerAddresses.h"
#include "UpdateInfo.h"
#include "resource.h"

namespace {
constexpr UINT_PTR kReloadTimer = 1;
constexpr UINT kReloadPeriod = 10000;   // milliseconds
constexpr UINT kBrowserId = 1;
}

const CString g_bannerPages[3] = {kBannerPageAddresses[0], kBannerPageAddresses[1], kBannerPageAddresses[2]};

CBannerDlg::CBannerDlg() : CDialogEx(IDD_BANNER_DIALOG) {}

CBannerDlg::~CBannerDlg()
{
    delete m_pBrowser;   // still set only when the window never came or never went
}

BOOL CBannerDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    SetTimer(kReloadTimer, kReloadPeriod);
    delete m_pBrowser;
    m_pBrowser = new (std::nothrow) CEdgeWebBrowser;
    if (!m_pBrowser)
        return TRUE;
    RECT client = {};
    GetClientRect(&client);
    // Without a host window the banner stays empty; the timer ticks do nothing then.
    m_pBrowser->CreateBrowser(WS_CHILD | WS_VISIBLE, client, this, kBrowserId, [this] { OnBrowserReady(); });
    return TRUE;
}

void CBannerDlg::OnBrowserReady()
{
    m_pBrowser->SetParent(m_hWnd);
    m_pBrowser->DisableScriptDialogs();
    const int page = GetRandomInRange(0, 2);
    // No completion callback: nothing comes back after the navigations.
    m_pBrowser->NavigateTo(g_bannerPages[page], CEdgeWebBrowser::Callback());
}

BOOL CBannerDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_TIMER)
        OnTimer();   // the default processing follows
    const BOOL handled = CDialogEx::OnWndMsg(message, wParam, lParam, result);
    if (message == WM_DESTROY)
        OnDestroy();
    return handled;
}

void CBannerDlg::OnTimer()
{
    if (m_pBrowser)
        m_pBrowser->ReloadPage();
}

void CBannerDlg::OnDestroy()
{
    KillTimer(kReloadTimer);
    delete std::exchange(m_pBrowser, nullptr);
}

void CBannerDlg::PostNcDestroy()
{
    CDialogEx::PostNcDestroy();
    delete this;
}
