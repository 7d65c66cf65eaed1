#include "Controls.h"

#include <vector>

CString CComboBox::GetLBText(int index) const
{
    const LRESULT length = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR)
        return CString();
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return CString(text.data());
}

int CListCtrl::InsertColumn(int column, const wchar_t* heading, int format, int width) const
{
    LVCOLUMNW col = {};
    col.mask = LVCF_TEXT | LVCF_FMT | (width >= 0 ? LVCF_WIDTH : 0u);
    col.fmt = format;
    col.cx = width;
    col.pszText = const_cast<wchar_t*>(heading);
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col)));
}

int CListCtrl::InsertItem(int index, const wchar_t* text) const
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text);
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int item, int subItem, const wchar_t* text) const
{
    LVITEMW lv = {};
    lv.iSubItem = subItem;
    lv.pszText = const_cast<wchar_t*>(text);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)));
}

CString CListCtrl::GetItemText(int item, int subItem) const
{
    // The list copies at most the buffer's size; grow until the text fits.
    for (size_t size = 256;; size *= 2) {
        std::vector<wchar_t> buffer(size, L'\0');
        LVITEMW lv = {};
        lv.iSubItem = subItem;
        lv.pszText = buffer.data();
        lv.cchTextMax = static_cast<int>(size);
        const LRESULT copied =
            SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
        if (static_cast<size_t>(copied) + 1 < size)
            return CString(buffer.data(), static_cast<int>(copied));
    }
}

int CListCtrl::HitTest(POINT point) const
{
    LVHITTESTINFO info = {};
    info.pt = point;
    return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CListCtrl::GetCheck(int item) const
{
    const UINT state = static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK));
    return ((state >> 12) - 1) == 1;
}

BOOL CListCtrl::SetCheck(int item, BOOL checked) const
{
    LVITEMW lv = {};
    lv.stateMask = LVIS_STATEIMAGEMASK;
    lv.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)));
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl()
{
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    if (!header)
        return nullptr;
    m_header.m_hWnd = header;
    return &m_header;
}
