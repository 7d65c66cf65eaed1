#include "Menu.h"

#include "WinApp.h"

BOOL CMenu::LoadMenu(UINT id)
{
    DestroyMenu();
    m_hMenu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id));
    m_owned = m_hMenu != nullptr;
    return m_owned;
}

BOOL CMenu::DestroyMenu()
{
    const BOOL destroyed = m_owned ? ::DestroyMenu(m_hMenu) : FALSE;
    m_hMenu = nullptr;
    m_owned = false;
    return destroyed;
}
