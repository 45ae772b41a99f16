#include "app/TrayIconAction.h"

#include "framework/Application.h"
#include "res/resource.h"

void CShowWindowAction::Execute()
{
    ::ShowWindow(CApplication::MainWindow(), SW_SHOW);
}

void CTrayMenuAction::Execute()
{
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const HMENU menu = ::LoadMenuA(CApplication::FindResourceModule(RT_MENU, IDR_TRAY_MENU),
                                   MAKEINTRESOURCEA(IDR_TRAY_MENU));
    if (!menu)
        return;
    const HWND owner = CApplication::MainWindow();
    // A menu opened from the notification area closes on a click elsewhere
    // only when its owner is the foreground window, and the message after
    // it lets the menu finish closing before the owner acts on it.
    ::SetForegroundWindow(owner);
    ::TrackPopupMenu(::GetSubMenu(menu, 0), TPM_RIGHTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y,
                     0, owner, nullptr);
    ::PostMessageA(owner, WM_NULL, 0, 0);
    ::DestroyMenu(menu);
}
