// Device contexts, pens, fonts and the wait cursor.
#pragma once

#include <windows.h>

#include "Wnd.h"

class CDC {
public:
    explicit CDC(HDC dc = nullptr) : m_hDC(dc) {}
    HDC m_hDC;
    operator HDC() const { return m_hDC; }

    HGDIOBJ SelectObject(HGDIOBJ object) const { return ::SelectObject(m_hDC, object); }
    void MoveTo(int x, int y) const { ::MoveToEx(m_hDC, x, y, nullptr); }
    void LineTo(int x, int y) const { ::LineTo(m_hDC, x, y); }
    void FillSolidRect(const RECT& rect, COLORREF color) const;
    void DrawIcon(int x, int y, HICON icon) const { ::DrawIcon(m_hDC, x, y, icon); }
    COLORREF SetBkColor(COLORREF color) const { return ::SetBkColor(m_hDC, color); }
    COLORREF SetTextColor(COLORREF color) const { return ::SetTextColor(m_hDC, color); }
    int SetBkMode(int mode) const { return ::SetBkMode(m_hDC, mode); }
};

// BeginPaint in the constructor, EndPaint in the destructor.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};

// A GDI object owned by its wrapper: deleted with it or by DeleteObject.
class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    ~CGdiObject() { DeleteObject(); }
    HGDIOBJ m_hObject = nullptr;
    operator HGDIOBJ() const { return m_hObject; }
    BOOL DeleteObject();
};

class CPen : public CGdiObject {
public:
    CPen(int style, int width, COLORREF color) { m_hObject = ::CreatePen(style, width, color); }
};

class CFont : public CGdiObject {
public:
    // Size in tenths of a point, converted for the screen (or the given device).
    BOOL CreatePointFont(int pointSize, const wchar_t* faceName, CDC* dc = nullptr);
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

// Shows the wait cursor while it lives.
class CWaitCursor {
public:
    CWaitCursor() : m_previous(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_previous); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_previous;
};
