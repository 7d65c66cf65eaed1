// CWnd: a window handle with the object that handles its messages.
// Each class states its message handling in one function, OnWndMsg, that returns
// TRUE for the messages it handled and chains to its base class for the rest.
#pragma once

#include <windows.h>

#include "CString.h"

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Binds the object to an existing window (and back); the object then receives
    // PreTranslateMessage calls for that window from the message loop.
    void Attach(HWND hWnd);
    HWND Detach();
    // The object bound to a window of this thread, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    virtual BOOL DestroyWindow();
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Handles one message; TRUE when handled, with the message's result in *result.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Runs after the window's last message (WM_NCDESTROY).
    virtual void PostNcDestroy() {}

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void SetWindowText(const wchar_t* text) const;
    CString GetWindowText() const;
    HWND GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    void GetWindowRect(RECT* rect) const;
    void GetClientRect(RECT* rect) const;
    void ScreenToClient(RECT* rect) const;
    void ScreenToClient(POINT* point) const;
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE) const;
    BOOL ShowWindow(int command) const;
    void UpdateWindow() const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) const;
    void MoveWindow(const RECT& rect, BOOL repaint = TRUE) const;
    BOOL IsIconic() const;
    DWORD GetStyle() const;
    void SetFont(HFONT font, BOOL redraw = TRUE) const;
    HICON SetIcon(HICON icon, BOOL big) const;
    HWND SetParent(HWND parent) const;
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) const;
    BOOL KillTimer(UINT_PTR id) const;
};

// Rectangle helpers used with GetWindowRect results.
inline int RectWidth(const RECT& r) { return r.right - r.left; }
inline int RectHeight(const RECT& r) { return r.bottom - r.top; }
