// The tray icon in the notification area of Wine's desktop.
#include "app/TrayIcon.h"
#include "app/TrayIconAction.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace
{
class CCountingAction : public CTrayIconAction
{
public:
    using CTrayIconAction::CTrayIconAction;
    void Execute() override { ++m_runs; }
    int m_runs = 0;
};
}

TEST(TrayIconTest, AddsRemovesAndRunsTheActionOfItsOwnMouseMessages)
{
    const HWND window = ::CreateWindowA("STATIC", "tray owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    const HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    CCountingAction doubleClick(WM_LBUTTONDBLCLK);
    CCountingAction rightButton(WM_RBUTTONDOWN);
    {
        CTrayIcon tray(window, IDR_MAINFRAME, icon, std::string(100, 'x'),
                       {&doubleClick, &rightButton});
        EXPECT_TRUE(tray.Add());
        struct Case
        {
            WPARAM iconId;
            UINT mouseMessage;
            int doubleClicks;
            int rightButtons;
        };
        for (const Case& c : {Case{IDR_MAINFRAME, WM_LBUTTONDBLCLK, 1, 0},
                              Case{IDR_MAINFRAME, WM_RBUTTONDOWN, 1, 1},
                              Case{IDR_MAINFRAME, WM_LBUTTONDOWN, 1, 1},
                              Case{IDR_MAINFRAME + 1, WM_LBUTTONDBLCLK, 1, 1}}) {
            tray.OnTrayNotify(c.iconId, c.mouseMessage);
            EXPECT_EQ(c.doubleClicks, doubleClick.m_runs) << c.mouseMessage;
            EXPECT_EQ(c.rightButtons, rightButton.m_runs) << c.mouseMessage;
        }
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
