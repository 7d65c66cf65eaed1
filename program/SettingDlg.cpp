#include "SettingDlg.h"

#include <uxtheme.h>

#include "HashEngine.h"
#include "IniFile.h"
#include "LocalizedString.h"
#include "resource.h"

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kSeparatorGrey = RGB(227, 227, 227);
constexpr int kSeparatorY = 260;   // client pixels

bool HasBlackText(int controlId)
{
    return controlId == IDC_STATIC_SEARCHHASH || controlId == IDC_STATIC_COMPAREHASH ||
           controlId == IDC_CHECK_LOWERCASE;
}
}

CSettingDlg::CSettingDlg() : CDialogEx(IDD_SETTING_DIALOG) {}

void CSettingDlg::DoDataExchange(CDataExchange* dx)
{
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_btnOK);
    DDX_Control(dx, IDCANCEL, m_btnCancel);
    DDX_Control(dx, IDC_BUTTON_RESET, m_btnReset);
    DDX_Control(dx, IDC_BUTTON_SELECTALL, m_btnSelectAll);
    DDX_Control(dx, IDC_BUTTON_UNSELECTALL, m_btnUnselectAll);
    DDX_Control(dx, IDC_STATIC_COMPAREHASH, m_staticCompareHash);
    DDX_Control(dx, IDC_COMBO_COMPAREHASH, m_comboCompareHash);
    DDX_Control(dx, IDC_LIST_HASH, m_listHash);
    DDX_Control(dx, IDC_CHECK_LOWERCASE, m_chkLowercase);
    DDX_Control(dx, IDC_STATIC_SEARCHHASH, m_staticSearchHash);
}

void CSettingDlg::LoadSettings()
{
    ReadSettings(Settings());
}

BOOL CSettingDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    ::SetWindowTheme(m_chkLowercase.m_hWnd, L"", L"");
    LoadSettings();
    SetTexts();
    FillHashList();
    ShowChoice(*this);
    return TRUE;   // the focus goes to the first tab stop, OK
}

void CSettingDlg::ShowChoice(SettingsValues& values)
{
    m_chkLowercase.SetCheck(values.m_dwUpperCase == 0 ? BST_CHECKED : BST_UNCHECKED);
    // An index outside the list selects nothing.
    m_comboCompareHash.SetCurSel(static_cast<int>(values.m_dwCompareHash));
    for (size_t i = 0; i < kHashCount; ++i)
        m_listHash.SetCheck(static_cast<int>(i), *values.Settings().EnableFlag(i) != 0);
}

void CSettingDlg::SetTexts()
{
    SetWindowText(LocalizedText(L"설정", L"Setting"));
    m_chkLowercase.SetWindowText(LocalizedText(L"소문자 표시", L"Lowercase"));
    m_btnSelectAll.SetWindowText(LocalizedText(L"모두 선택", L"Select All"));
    m_btnUnselectAll.SetWindowText(LocalizedText(L"모두 해제", L"Unselect All"));
    m_btnReset.SetWindowText(LocalizedText(L"초기화", L"Reset"));
    m_staticSearchHash.SetWindowText(LocalizedText(L"검색 해시:", L"Search Hash:"));
    m_staticCompareHash.SetWindowText(LocalizedText(L"파일 비교 해시 :", L"compare Hash :"));
}

void CSettingDlg::FillHashList()
{
    m_listHash.SetExtendedStyle(LVS_EX_CHECKBOXES);
    RECT frame;
    m_listHash.GetWindowRect(&frame);
    const int width = RectWidth(frame) - 2 * ::GetSystemMetrics(SM_CXEDGE) - ::GetSystemMetrics(SM_CXVSCROLL);
    m_listHash.InsertColumn(0, LocalizedText(L"구분", L"Item"), LVCFMT_LEFT, width);
    for (const HashInfo& hash : kHashList)
        m_listHash.InsertItem(m_listHash.GetItemCount(), hash.displayName);
}

BOOL CSettingDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_PAINT) {
        OnPaint();
        return FALSE;   // the dialog's own painting follows
    }
    if (message == WM_ERASEBKGND) {
        OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
        return FALSE;   // the dialog's own erase follows, and its result is the message's
    }
    if (IsCtlColorMessage(message)) {
        *result = reinterpret_cast<LRESULT>(
            OnCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_BUTTON_SELECTALL:
            OnBnClickedSelectAll();
            return TRUE;
        case IDC_BUTTON_UNSELECTALL:
            OnBnClickedUnselectAll();
            return TRUE;
        case IDC_BUTTON_RESET:
            OnBnClickedReset();
            return TRUE;
        case IDOK:
            OnBnClickedOk();
            return TRUE;
        case IDCANCEL:
            OnBnClickedCancel();
            return TRUE;
        default:
            break;
        }
    }
    return CDialogEx::OnWndMsg(message, wParam, lParam, result);
}

void CSettingDlg::OnPaint()
{
    CPaintDC dc(this);
    RECT client;
    GetClientRect(&client);
    CPen pen(PS_SOLID, 1, kSeparatorGrey);
    HGDIOBJ previous = dc.SelectObject(pen);
    dc.MoveTo(0, kSeparatorY);
    dc.LineTo(client.right, kSeparatorY);
    dc.SelectObject(previous);
}

HBRUSH CSettingDlg::OnCtlColor(UINT message, HDC dc, HWND control)
{
    HBRUSH brush = DefaultCtlColor(m_hWnd, message, dc, control);
    if (message != WM_CTLCOLORSTATIC)
        return brush;
    if (HasBlackText(::GetDlgCtrlID(control))) {
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkMode(dc, TRANSPARENT);
    }
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CSettingDlg::OnEraseBkgnd(HDC dc)
{
    RECT client;
    GetClientRect(&client);
    CDC(dc).FillSolidRect(client, kWhite);
}

void CSettingDlg::CheckAllRows(BOOL checked)
{
    const int count = m_listHash.GetItemCount();
    for (int row = 0; row < count; ++row)
        m_listHash.SetCheck(row, checked);
}

void CSettingDlg::OnBnClickedSelectAll()
{
    CheckAllRows(TRUE);
}

void CSettingDlg::OnBnClickedUnselectAll()
{
    CheckAllRows(FALSE);
}

void CSettingDlg::OnBnClickedReset()
{
    // The controls only: the fields and the file keep what they hold until OK.
    SettingsValues defaults;
    ShowChoice(defaults);
}

void CSettingDlg::OnBnClickedOk()
{
    m_dwUpperCase = m_chkLowercase.GetCheck() == BST_CHECKED ? 0 : 1;
    for (size_t i = 0; i < kHashCount; ++i)
        *Settings().EnableFlag(i) = m_listHash.GetCheck(static_cast<int>(i)) ? 1 : 0;
    // No selection is stored as -1.
    m_dwCompareHash = static_cast<DWORD>(m_comboCompareHash.GetCurSel());
    WriteSettings(Settings());
    CDialogEx::OnOK();   // closes even when the write failed
}

void CSettingDlg::OnBnClickedCancel()
{
    CDialogEx::OnCancel();
}
