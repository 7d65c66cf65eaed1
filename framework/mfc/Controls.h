// Wrappers of the standard and common controls: each call is one window message, so
// the wrappers may also be used from a worker thread (the owning thread carries the
// message out while the caller waits).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "CString.h"
#include "Wnd.h"

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

class CStatic : public CWnd {};

class CComboBox : public CWnd {
public:
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int AddString(const wchar_t* text) const
    {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    CString GetLBText(int index) const;
};

class CProgressCtrl : public CWnd {
public:
    void SetRange(short lower, short upper) const { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    int SetPos(int position) const { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position))); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
};

class CLinkCtrl : public CWnd {};

class CHeaderCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
};

class CListCtrl : public CWnd {
public:
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    DWORD SetExtendedStyle(DWORD style) const
    {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)));
    }
    int InsertColumn(int column, const wchar_t* heading, int format = LVCFMT_LEFT, int width = -1) const;
    int InsertItem(int index, const wchar_t* text) const;
    BOOL SetItemText(int item, int subItem, const wchar_t* text) const;
    CString GetItemText(int item, int subItem) const;
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int GetNextItem(int start, int flags) const
    {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
    }
    int HitTest(POINT point) const;
    BOOL GetCheck(int item) const;
    BOOL SetCheck(int item, BOOL checked = TRUE) const;
    int SetColumnWidth(int column, int width) const
    {
        return static_cast<int>(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)));
    }
    // The list's header, or null; the wrapper lives as long as the list wrapper.
    CHeaderCtrl* GetHeaderCtrl();

private:
    CHeaderCtrl m_header;
};
