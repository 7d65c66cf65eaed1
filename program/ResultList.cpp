// The result list's commands: its context menu, Ctrl+C, the clipboard text and the
// colour of the verdict column.
#include "TessalyDlg.h"

#include <cstring>

#include "Arguments.h"
#include "ClipboardText.h"
#include "CommandLine.h"
#include "resource.h"

namespace {
constexpr COLORREF kMatchColour = RGB(0, 0, 255);
constexpr COLORREF kMismatchColour = RGB(255, 0, 0);
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr int kVerdictColumn = 3;

RunMode ProgramMode()
{
    return RunModeOf(ProgramArgument(1));
}

// Moveable global memory holding `text` with its terminating zero, or null.
HGLOBAL CopyToGlobalMemory(const std::wstring& text)
{
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!memory)
        return nullptr;
    void* locked = ::GlobalLock(memory);
    if (!locked) {
        ::GlobalFree(memory);
        return nullptr;
    }
    memcpy(locked, text.c_str(), bytes);
    ::GlobalUnlock(memory);
    return memory;
}
}

void CTessalyDlg::OnNMRClickList(LRESULT* result)
{
    *result = 0;
    POINT cursor;
    ::GetCursorPos(&cursor);
    POINT inList = cursor;
    m_listResult.ScreenToClient(&inList);
    if (m_listResult.HitTest(inList) < 0)
        return;   // beside the rows: no menu
    ::GetCursorPos(&cursor);
    CMenu menu;
    if (!menu.LoadMenu(IDR_LIST_MENU))
        return;
    ::TrackPopupMenu(menu.GetSubMenu(0), 0, cursor.x, cursor.y, 0, m_hWnd, nullptr);
}

void CTessalyDlg::OnNMCustomdrawList(NMLVCUSTOMDRAW* draw, LRESULT* result)
{
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
    case CDDS_ITEMPREPAINT:
        *result = CDRF_NOTIFYSUBITEMDRAW;
        return;
    case CDDS_SUBITEM | CDDS_ITEMPREPAINT:
        if (ProgramMode() == RunMode::CompareFiles && draw->iSubItem == kVerdictColumn)
            draw->clrText = m_bMatch ? kMatchColour : kMismatchColour;
        else
            draw->clrText = kTextColour;
        break;
    default:
        break;
    }
    *result = CDRF_DODEFAULT;
}

void CTessalyDlg::OnCopyHash()
{
    CopyToClipboard(false);
}

void CTessalyDlg::OnCopyHashWithName()
{
    CopyToClipboard(true);
}

BOOL CTessalyDlg::PreTranslateMessage(MSG* msg)
{
    // The dialog sees the keys of all its controls here, whichever has the focus.
    if (msg->message == WM_KEYDOWN && msg->wParam == 'C' && ::GetAsyncKeyState(VK_CONTROL)) {
        CopyToClipboard(false);
        return TRUE;
    }
    return CDialogEx::PreTranslateMessage(msg);
}

int CTessalyDlg::ListColumnCount()
{
    CHeaderCtrl* header = m_listResult.GetHeaderCtrl();
    const bool report = (m_listResult.GetStyle() & LVS_TYPEMASK) == LVS_REPORT;
    const bool fullRow = (m_listResult.GetExtendedStyle() & LVS_EX_FULLROWSELECT) != 0;
    return report && fullRow && header ? header->GetItemCount() : 1;
}

void CTessalyDlg::CopyToClipboard(bool withNames)
{
    int item = m_listResult.GetNextItem(-1, LVNI_SELECTED);
    if (item < 0)
        return;   // nothing selected: the clipboard is not touched
    CWaitCursor wait;

    const size_t valueColumn = ProgramMode() == RunMode::HashFile ? 1 : 2;
    const int columns = withNames ? ListColumnCount() : static_cast<int>(valueColumn) + 1;
    std::vector<ListRow> rows;
    for (; item >= 0; item = m_listResult.GetNextItem(item, LVNI_SELECTED)) {
        ListRow row;
        for (int column = 0; column < columns; ++column)
            row.push_back(m_listResult.GetItemText(item, column).Str());
        rows.push_back(std::move(row));
    }
    // The memory is ready before the clipboard is opened: a failure leaves it unchanged.
    HGLOBAL memory = CopyToGlobalMemory(BuildClipboardText(rows, withNames, valueColumn));
    if (!memory)
        return;
    if (!::OpenClipboard(m_listResult.m_hWnd)) {
        ::GlobalFree(memory);
        return;
    }
    ::EmptyClipboard();
    if (!::SetClipboardData(CF_UNICODETEXT, memory))
        ::GlobalFree(memory);
    ::CloseClipboard();
}
