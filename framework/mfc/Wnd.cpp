#include "Wnd.h"

#include <unordered_map>

namespace {
// Windows bound to objects. Only the user-interface thread binds and looks up; the map
// is never destroyed so that objects that outlive static destruction may still unbind.
std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static auto* map = new std::unordered_map<HWND, CWnd*>();
    return *map;
}
}

CWnd::~CWnd()
{
    if (m_hWnd)
        Detach();
}

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    if (hWnd)
        PermanentMap()[hWnd] = this;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd) {
        auto& map = PermanentMap();
        auto found = map.find(hWnd);
        if (found != map.end() && found->second == this)
            map.erase(found);
    }
    m_hWnd = nullptr;
    return hWnd;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto& map = PermanentMap();
    auto found = map.find(hWnd);
    return found == map.end() ? nullptr : found->second;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

void CWnd::SetWindowText(const wchar_t* text) const
{
    ::SetWindowTextW(m_hWnd, text);
}

CString CWnd::GetWindowText() const
{
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(m_hWnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return CString(text);
}

HWND CWnd::GetDlgItem(int id) const
{
    return ::GetDlgItem(m_hWnd, id);
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

void CWnd::GetWindowRect(RECT* rect) const
{
    ::GetWindowRect(m_hWnd, rect);
}

void CWnd::GetClientRect(RECT* rect) const
{
    ::GetClientRect(m_hWnd, rect);
}

void CWnd::ScreenToClient(RECT* rect) const
{
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::ScreenToClient(POINT* point) const
{
    ::ScreenToClient(m_hWnd, point);
}

void CWnd::InvalidateRect(const RECT* rect, BOOL erase) const
{
    ::InvalidateRect(m_hWnd, rect, erase);
}

BOOL CWnd::ShowWindow(int command) const
{
    return ::ShowWindow(m_hWnd, command);
}

void CWnd::UpdateWindow() const
{
    ::UpdateWindow(m_hWnd);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) const
{
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(const RECT& rect, BOOL repaint) const
{
    MoveWindow(rect.left, rect.top, RectWidth(rect), RectHeight(rect), repaint);
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

DWORD CWnd::GetStyle() const
{
    return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
}

void CWnd::SetFont(HFONT font, BOOL redraw) const
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw, 0));
}

HICON CWnd::SetIcon(HICON icon, BOOL big) const
{
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

HWND CWnd::SetParent(HWND parent) const
{
    return ::SetParent(m_hWnd, parent);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse) const
{
    return ::SetTimer(m_hWnd, id, elapse, nullptr);
}

BOOL CWnd::KillTimer(UINT_PTR id) const
{
    return ::KillTimer(m_hWnd, id);
}
