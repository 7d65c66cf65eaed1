// The settings dialog: which hashes the file-hash mode computes, the compare hash and
// the letter case. OK stores all eleven values in "setting.ini"; the running main
// dialog keeps its own, so a change applies from the next start.
#pragma once

#include "Afx.h"
#include "IniFile.h"

class CSettingDlg : public CDialogEx, public SettingsValues {
public:
    CSettingDlg();

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
    // The check box, the combo box and the rows' check marks as `values` stand.
    void ShowChoice(SettingsValues& values);
    void OnPaint();
    HBRUSH OnCtlColor(UINT message, HDC dc, HWND control);
    // Fills the client area white; the dialog's own erase runs after it.
    void OnEraseBkgnd(HDC dc);
    void OnBnClickedSelectAll();
    void OnBnClickedUnselectAll();
    void OnBnClickedReset();
    void OnBnClickedOk();
    void OnBnClickedCancel();
    void CheckAllRows(BOOL checked);
};
