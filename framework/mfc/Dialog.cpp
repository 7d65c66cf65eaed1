#include "Dialog.h"

#include "WinApp.h"

namespace {
// Dialog-initialisation data: the platform framework's code for "add a combo string".
constexpr WORD kDlgInitAddComboString = 0x0403;
constexpr WORD kDlgInitResourceType = 240;

// Messages whose result a dialog procedure returns directly instead of in DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message)
{
    return IsCtlColorMessage(message) || message == WM_COMPAREITEM || message == WM_VKEYTOITEM ||
           message == WM_CHARTOITEM || message == WM_QUERYDRAGICON || message == WM_INITDIALOG;
}
}

bool IsCtlColorMessage(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

HBRUSH DefaultCtlColor(HWND dialog, UINT message, HDC dc, HWND control)
{
    return reinterpret_cast<HBRUSH>(::DefWindowProcW(dialog, message, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(control)));
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    m_bModal = false;
    HWND hWnd = ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(templateId),
                                     parent ? parent->m_hWnd : nullptr, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr;
}

INT_PTR CDialog::DoModal()
{
    m_bModal = true;
    // Without a parent the main window owns the dialog, as the platform framework does.
    CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    return ::DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate),
                             owner ? owner->m_hWnd : nullptr, DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(INT_PTR result) const
{
    ::EndDialog(m_hWnd, result);
}

BOOL CDialog::OnInitDialog()
{
    ExecuteDlgInit();
    CDataExchange dx(this, FALSE);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // Keyboard navigation of modeless dialogs (Tab, Enter, Escape, mnemonics).
    return !m_bModal && ::IsDialogMessageW(m_hWnd, msg);
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM, LRESULT* result)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            *result = 0;
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            *result = 0;
            return TRUE;
        }
    }
    return FALSE;
}

void CDialog::BindControl(int id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    control.Attach(GetDlgItem(id));
    m_boundControls.push_back(&control);
}

void CDialog::UnbindControls()
{
    for (CWnd* control : m_boundControls)
        control->Detach();
    m_boundControls.clear();
}

void CDialog::ExecuteDlgInit() const
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(m_nIDTemplate),
                                  MAKEINTRESOURCEW(kDlgInitResourceType));
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const BYTE* data = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!data)
        return;
    const BYTE* const end = data + ::SizeofResource(module, found);
    // Entries: control id (16 bits), message (16 bits), length (32 bits), bytes; 0 ends.
    while (data + sizeof(WORD) <= end) {
        WORD controlId, message;
        DWORD length;
        memcpy(&controlId, data, sizeof controlId);
        if (controlId == 0 || data + 8 > end)
            break;
        memcpy(&message, data + 2, sizeof message);
        memcpy(&length, data + 4, sizeof length);
        const char* text = reinterpret_cast<const char*>(data + 8);
        if (data + 8 + length > end)
            break;
        if (message == kDlgInitAddComboString)
            ::SendDlgItemMessageA(m_hWnd, controlId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        data += 8 + length;
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        dialog->Attach(hWnd);
        return dialog->OnInitDialog();
    }
    auto* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
    if (!dialog)
        return FALSE;
    LRESULT result = 0;
    const BOOL handled = dialog->OnWndMsg(message, wParam, lParam, &result);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hWnd, DWLP_USER, 0);
        dialog->UnbindControls();
        dialog->Detach();
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == dialog) {
            app->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        dialog->PostNcDestroy();
        return handled;
    }
    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(message))
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}
