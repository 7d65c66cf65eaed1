#include "TessalyDlg.h"

#include <utility>

#include "Arguments.h"
#include "BannerDlg.h"
#include "CommandLine.h"
#include "HashComputation.h"
#include "IniFile.h"
#include "LocalizedString.h"
#include "MakerAddresses.h"
#include "SettingDlg.h"
#include "WorkerError.h"
#include "resource.h"

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kSeparatorGrey = RGB(227, 227, 227);
constexpr int kSeparatorY = 150;   // client pixels

struct ColumnSpec {
    const wchar_t* english;
    const wchar_t* korean;
    int width;   // pixels
};

constexpr ColumnSpec kHashColumns[] = {
    {L"Item", L"구분", 80},
    {L"Hash value", L"해시 값", 310},
};
constexpr ColumnSpec kCompareColumns[] = {
    {L"File name", L"파일명", 130},
    {L"Hash", L"해시", 65},
    {L"Hash value", L"해시 값", 145},
    {L"Result", L"확인", 50},
};

bool HasWhiteBackground(int controlId)
{
    return controlId >= IDC_STATIC_TASK && controlId <= IDC_SYSLINK_HOME;
}
}

CTessalyDlg::CTessalyDlg()
    : CDialogEx(IDD_TESSALY_DIALOG),
      m_hIcon(::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME)))
{
}

CTessalyDlg::~CTessalyDlg()
{
    delete m_pWorkerThread;
}

void CTessalyDlg::DoDataExchange(CDataExchange* dx)
{
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, IDC_STATIC_TASK, m_staticTask);
    DDX_Control(dx, IDC_STATIC_PERCENT, m_staticPercent);
    DDX_Control(dx, IDC_PROGRESS, m_progress);
    DDX_Control(dx, IDC_STATIC_FILE, m_staticFile);
    DDX_Control(dx, IDC_STATIC_TIMELEFT, m_staticTimeLeft);
    DDX_Control(dx, IDC_LIST_RESULT, m_listResult);
    DDX_Control(dx, IDC_BUTTON_SETTING, m_btnSetting);
    DDX_Control(dx, IDC_SYSLINK_HOME, m_linkHome);
}

BOOL CTessalyDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    m_progress.SetRange(0, 100);

    m_fontPercent.CreatePointFont(130, L"고딕");
    m_fontLink.CreatePointFont(80, L"맑은고딕");
    m_staticPercent.SetFont(m_fontPercent);
    m_linkHome.SetFont(m_fontLink);

    m_listResult.SetExtendedStyle(m_listResult.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    InsertColumns();
    LoadSettings();
    return TRUE;   // the focus goes to the first tab stop, the settings button
}

void CTessalyDlg::InsertColumns()
{
    const bool hashMode = RunModeOf(ProgramArgument(1)) == RunMode::HashFile;
    const ColumnSpec* columns = hashMode ? kHashColumns : kCompareColumns;
    const int count = hashMode ? static_cast<int>(std::size(kHashColumns)) : static_cast<int>(std::size(kCompareColumns));
    for (int i = 0; i < count; ++i)
        m_listResult.InsertColumn(i, LocalizedText(columns[i].korean, columns[i].english), LVCFMT_LEFT,
                                  columns[i].width);
}

void CTessalyDlg::LoadSettings()
{
    ReadSettings(Settings());
}

BOOL CTessalyDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_PAINT:
        return OnPaint();
    case WM_QUERYDRAGICON:
        *result = reinterpret_cast<LRESULT>(OnQueryDragIcon());
        return TRUE;
    case WM_ERASEBKGND:
        *result = OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
        return TRUE;
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wParam));
    case WM_MOVE: {
        const BOOL handled = CDialogEx::OnWndMsg(message, wParam, lParam, result);
        OnMove();
        return handled;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_BUTTON_SETTING && HIWORD(wParam) == BN_CLICKED) {
            OnBnClickedSetting();
            return TRUE;
        }
        if (LOWORD(wParam) == ID_COPY_HASH) {
            OnCopyHash();
            return TRUE;
        }
        if (LOWORD(wParam) == ID_COPY_HASH_WITH_NAME) {
            OnCopyHashWithName();
            return TRUE;
        }
        break;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam), result);
    default:
        if (IsCtlColorMessage(message)) {
            *result = reinterpret_cast<LRESULT>(
                OnCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
            return TRUE;
        }
        break;
    }
    return CDialogEx::OnWndMsg(message, wParam, lParam, result);
}

bool CTessalyDlg::OnNotify(NMHDR* header, LRESULT* result)
{
    if (header->idFrom == IDC_SYSLINK_HOME && header->code == NM_CLICK) {
        OnNMClickSyslink(result);
        return true;
    }
    if (header->idFrom == IDC_LIST_RESULT && header->code == NM_RCLICK) {
        OnNMRClickList(result);
        return true;
    }
    if (header->idFrom == IDC_LIST_RESULT && header->code == NM_CUSTOMDRAW) {
        OnNMCustomdrawList(reinterpret_cast<NMLVCUSTOMDRAW*>(header), result);
        return true;
    }
    return false;
}

bool CTessalyDlg::OnPaint()
{
    RECT client;
    GetClientRect(&client);
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC));
        const int x = (RectWidth(client) - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (RectHeight(client) - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
        return true;
    }
    {
        CPaintDC dc(this);
        CPen pen(PS_SOLID, 1, kSeparatorGrey);
        HGDIOBJ previous = dc.SelectObject(pen);
        dc.MoveTo(0, kSeparatorY);
        dc.LineTo(client.right, kSeparatorY);
        dc.SelectObject(previous);
    }
    return false;   // the dialog's own painting follows
}

HCURSOR CTessalyDlg::OnQueryDragIcon() const
{
    return static_cast<HCURSOR>(m_hIcon);
}

BOOL CTessalyDlg::OnEraseBkgnd(HDC dc)
{
    RECT client;
    GetClientRect(&client);
    CDC(dc).FillSolidRect(client, kWhite);
    return TRUE;
}

HBRUSH CTessalyDlg::OnCtlColor(UINT message, HDC dc, HWND control)
{
    DefaultCtlColor(m_hWnd, message, dc, control);   // prepares the device context only
    if (HasWhiteBackground(::GetDlgCtrlID(control)))
        ::SetBkColor(dc, kWhite);
    // The statics are drawn on the white dialog background (the workers erase a
    // static's area before they replace its text).
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

bool CTessalyDlg::OnSysCommand(UINT id)
{
    if (id != SC_CLOSE)
        return false;   // minimise, move and the rest: default handling
    RunCloseProtocol();
    return true;
}

void CTessalyDlg::OnOK()
{
    // Enter gives the default button's command (settings); a modeless main window is
    // never ended by IDOK.
}

void CTessalyDlg::OnCancel()
{
    // Escape and WM_CLOSE: the same protocol as the system Close command.
    RunCloseProtocol();
}

void CTessalyDlg::RunCloseProtocol()
{
    if (m_bClosing)
        return;   // a Close that arrives while closing is already being handled
    m_bClosing = true;
    if (m_pWorkerThread && !m_bDone) {
        if (!ConfirmCancel()) {
            m_bClosing = false;   // the work goes on as if nothing had happened
            return;
        }
        // The worker stops once the read or hash under way ends, seconds on a slow source:
        // the windows go at once.
        ShowWindow(SW_HIDE);
        if (m_pBannerDlg)
            m_pBannerDlg->ShowWindow(SW_HIDE);
    }
    WaitForWorkerAndClose();
}

bool CTessalyDlg::ConfirmCancel()
{
    m_workerGate.RequestHold();
    // The question comes at once, whatever the worker is reading or hashing: only an
    // output already under way (a few control writes, served here) is let finish, so
    // that nothing changes behind the question.
    PumpMessagesUntil([this] { return !m_workerGate.IsWriting() || m_bDone; });
    bool cancel = true;
    if (!m_bDone && !m_workerGate.IsFinishing()) {
        const int answer = AfxMessageBox(
            LocalizedText(L"진행중인 작업을 취소하시겠습니까?", L"Are you sure you want to cancel?"),
            MB_YESNO | MB_ICONQUESTION);
        cancel = answer == IDYES;
        if (cancel)
            m_bCancel.exchange(true);
    }
    m_workerGate.Release();
    return cancel;
}

template <typename Done>
void CTessalyDlg::PumpMessagesUntil(Done done)
{
    // The worker's control writes are messages this thread must serve for it to go on,
    // so every wait keeps dispatching.
    CWinApp* app = AfxGetApp();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!app->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (done())
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void CTessalyDlg::WaitForWorkerAndClose()
{
    if (m_pWorkerThread)
        PumpMessagesUntil([this] { return m_bDone.load(); });
    DestroyWindow();
}

bool CTessalyDlg::BeginFinalOutput()
{
    m_workerGate.BeginFinalOutput();
    return !m_bCancel;
}

void CTessalyDlg::ShowFailure(const PERROR_TYPES_T& error, std::optional<HashGroup>& group)
{
    if ((!group || group->ShowDueProgress()) && BeginFinalOutput())
        ShowWorkerError(error);
}

void CTessalyDlg::ShowFileText(const CString& text)
{
    const WorkerGate::Output output(m_workerGate);
    SetStaticText(m_staticFile, text);
}

void CTessalyDlg::SetStaticText(CStatic& control, const CString& text)
{
    // Erase the static's area of the dialog first: statics are drawn with a hollow
    // brush, so the old text would show through.
    RECT area;
    control.GetWindowRect(&area);
    ScreenToClient(&area);
    InvalidateRect(&area, TRUE);
    control.SetWindowText(text);
}

void CTessalyDlg::OnMove()
{
    if (m_pBannerDlg)
        PlaceBanner();
}

void CTessalyDlg::PlaceBanner() const
{
    RECT dialog = {}, banner = {};
    GetWindowRect(&dialog);
    m_pBannerDlg->GetWindowRect(&banner);
    m_pBannerDlg->MoveWindow(dialog.right + 5, dialog.top, RectWidth(banner), RectHeight(banner), TRUE);
}

void CTessalyDlg::HoldWindowForStartup()
{
    m_bHeldForStartup = true;
}

void CTessalyDlg::ReleaseWindowFromStartup()
{
    m_bHeldForStartup = false;
    if (m_bClosePending)
        DestroyWindow();
}

BOOL CTessalyDlg::DestroyWindow()
{
    if (m_bHeldForStartup) {
        m_bClosePending = true;
        return ShowWindow(SW_HIDE);
    }
    m_fontLink.DeleteObject();
    m_fontPercent.DeleteObject();
    // The banner object deletes itself with its window; the pointer is dead afterwards.
    if (CBannerDlg* banner = std::exchange(m_pBannerDlg, nullptr))
        banner->DestroyWindow();
    return CDialogEx::DestroyWindow();
}

void CTessalyDlg::OnBnClickedSetting()
{
    // The settings apply from the next start; this run keeps the values it read.
    CSettingDlg dialog;
    dialog.DoModal();
}

void CTessalyDlg::OnNMClickSyslink(LRESULT* result)
{
    ::ShellExecuteW(nullptr, L"open", kHomePageAddress, nullptr, nullptr, SW_SHOW);
    *result = 0;
}
