// Dialogs built from templates: modeless (Create) or modal (DoModal).
#pragma once

#include <windows.h>

#include <vector>

#include "Wnd.h"


// Passed to DoDataExchange; controls are bound through DDX_Control.
class CDataExchange {
public:
    CDataExchange(class CDialog* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    class CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Modeless: creates the window from the template; FALSE when that fails.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // Modal: runs the dialog until EndDialog; the result of EndDialog, or -1.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result) const;

    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* dx);
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Binds a control wrapper to the dialog's control; the binding ends with the window.
    void BindControl(int id, CWnd& control);

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    bool m_bModal = false;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Applies the template's initialisation data (resource type 240) to the controls.
    void ExecuteDlgInit() const;
    void UnbindControls();
    std::vector<CWnd*> m_boundControls;
};

inline void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    dx->m_pDlgWnd->BindControl(id, control);
}

// CDialogEx adds nothing the program needs beyond CDialog's behaviour.
class CDialogEx : public CDialog {
public:
    using CDialog::CDialog;
};

// The default control colours of the platform (DefWindowProc's answer to WM_CTLCOLOR*).
HBRUSH DefaultCtlColor(HWND dialog, UINT message, HDC dc, HWND control);
// TRUE for every WM_CTLCOLOR* message.
bool IsCtlColorMessage(UINT message);
