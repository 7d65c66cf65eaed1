// The settings dialog: which hashes the file-hash mode computes, the compare hash and
// the letter case. OK stores all eleven values in "setting.ini"; the running main
// dialog keeps its own, so a change applies from the next start.
#pragma once

#include "Afx.h"
#include "IniFile.h"

class CSettingDlg : public CDialogEx {
public:
    CSettingDlg();

    DWORD m_dwCompareHash = 0;
    DWORD m_dwUpperCase = 0;
    DWORD m_dwCrc32 = 1;
    DWORD m_dwMd2 = 0;
    DWORD m_dwMd4 = 0;
    DWORD m_dwMd5 = 1;
    DWORD m_dwSha_1 = 1;
    DWORD m_dwSha_256 = 0;
    DWORD m_dwSha_384 = 0;
    DWORD m_dwSha_512 = 0;
    DWORD m_dwHas_160 = 0;

    CButton m_btnOK;
    CButton m_btnCancel;
    CButton m_btnReset;
    CButton m_btnSelectAll;
    CButton m_btnUnselectAll;
    CButton m_chkLowercase;
    CStatic m_staticSearchHash;
    CStatic m_staticCompareHash;
    CComboBox m_comboCompareHash;
    CListCtrl m_listHash;

    void LoadSettings();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void SetTexts();
    void FillHashList();
    void OnPaint();
    HBRUSH OnCtlColor(UINT message, HDC dc, HWND control);
    BOOL OnEraseBkgnd(HDC dc);
    void OnBnClickedSelectAll();
    void OnBnClickedUnselectAll();
    void OnBnClickedReset();
    void OnBnClickedOk();
    void OnBnClickedCancel();
    void CheckAllRows(BOOL checked);
    SettingsFields Settings();
};
