#include "Gdi.h"

#include <cwchar>

void CDC::FillSolidRect(const RECT& rect, COLORREF color) const
{
    const COLORREF previous = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd)
{
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    const BOOL deleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return deleted;
}

BOOL CFont::CreatePointFont(int pointSize, const wchar_t* faceName, CDC* dc)
{
    HDC device = dc ? dc->m_hDC : ::GetDC(nullptr);
    LOGFONTW font = {};
    font.lfCharSet = DEFAULT_CHARSET;
    // Tenths of a point to pixels of the device: points / 72 inches, 10 tenths each.
    font.lfHeight = -::MulDiv(pointSize, ::GetDeviceCaps(device, LOGPIXELSY), 720);
    wcsncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
    if (!dc)
        ::ReleaseDC(nullptr, device);
    DeleteObject();
    m_hObject = ::CreateFontIndirectW(&font);
    return m_hObject != nullptr;
}
