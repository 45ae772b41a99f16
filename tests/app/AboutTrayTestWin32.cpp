// The tray icon in the notification area of Wine's desktop.
#include "app/TrayIcon.h"
#include "app/TrayIconAction.h"
#include "framework/Application.h"
#include "res/resource.h"

#include <gtest/gtest.h>

TEST(TrayIconTest, AddsRemovesAndRunsTheActionOfItsOwnMouseMessages)
{
    const HWND window = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CApplication::SetMainWindow(window);
    const HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    CShowWindowAction doubleClick;
    {
        CTrayIcon tray(window, IDR_MAINFRAME, icon, std::string(100, 'x'), {&doubleClick});
        EXPECT_TRUE(tray.Add());
        // Another icon's double click and a message without an action of its own.
        tray.OnTrayNotify(IDR_MAINFRAME + 1, WM_LBUTTONDBLCLK);
        tray.OnTrayNotify(IDR_MAINFRAME, WM_LBUTTONDOWN);
        EXPECT_FALSE(::IsWindowVisible(window));
        tray.OnTrayNotify(IDR_MAINFRAME, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(::IsWindowVisible(window));
        EXPECT_TRUE(tray.Remove());
        EXPECT_FALSE(tray.Remove());
        EXPECT_EQ(0, tray.OnTaskbarCreated(0, 0));
        EXPECT_TRUE(tray.Remove());
        tray.OnTaskbarCreated(0, 0);
    }
    // Ending the tray icon took its icon away.
    EXPECT_FALSE(CTrayIcon(window, IDR_MAINFRAME, icon, "", {}).Remove());
    ::DestroyWindow(window);
}
