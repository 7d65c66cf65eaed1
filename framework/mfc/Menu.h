// Menus loaded from resources; a menu taken from another (GetSubMenu) is not owned.
#pragma once

#include <windows.h>

class CMenu {
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    ~CMenu() { DestroyMenu(); }

    HMENU m_hMenu = nullptr;
    BOOL LoadMenu(UINT id);
    BOOL DestroyMenu();
    // The pop-up at `position`, not owned; null when there is none.
    HMENU GetSubMenu(int position) const { return ::GetSubMenu(m_hMenu, position); }

private:
    bool m_owned = false;
};
