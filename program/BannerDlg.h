// The banner: a borderless window beside the main dialog that shows one of the maker's
// pages in a browser filling its client area, reloaded every 10 seconds. The object
// deletes itself when its window is gone.
#pragma once

#include "Afx.h"

class CEdgeWebBrowser;

// The pages the banner chooses from, one drawn at random for each banner.
extern const CString g_bannerPages[3];

class CBannerDlg : public CDialogEx {
public:
    CBannerDlg();
    ~CBannerDlg() override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void PostNcDestroy() override;

private:
    void OnBrowserReady();
    void OnTimer();
    void OnDestroy();

    CEdgeWebBrowser* m_pBrowser = nullptr;   // owned
};
