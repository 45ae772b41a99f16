// The user-interface controls on the main window's resizable template,
// under a dialog of the test's own.
#include "controls/ColorLabel.h"
#include "controls/GradientLabel.h"
#include "controls/LayoutDialog.h"
#include "controls/LedButton.h"
#include "controls/SplashWindow.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <vector>

namespace
{
// Dispatches this thread's messages one at a time until `done` or ten seconds.
bool PumpUntil(const std::function<bool()>& done)
{
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (!done()) {
        if (::GetTickCount64() > deadline)
            return false;
        MSG message;
        if (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&message);
        else
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

class CTestDialog : public CLayoutDialog
{
public:
    CTestDialog() : CLayoutDialog(IDD_RECEIVER_DIALOG, nullptr) {}

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CLayoutDialog::OnInitDialog();
        AddAnchor(IDC_RECEIVER_FRAME_LIST, Anchor::TopLeft, Anchor::BottomRight);
        AddAnchor(IDCANCEL, Anchor::BottomRight);
        AddAnchor(IDC_RECEIVER_STORED_FRAME, Anchor::TopLeft, Anchor::TopRight);
        return result;
    }
};

// The control drawn into a bitmap of its own, as WM_PRINTCLIENT draws it.
std::vector<COLORREF> Capture(HWND control, int& width)
{
    RECT client;
    ::GetClientRect(control, &client);
    width = client.right;
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const HDC screen = ::GetDC(nullptr);
    const HGDIOBJ old = ::SelectObject(dc, ::CreateCompatibleBitmap(screen, client.right, client.bottom));
    ::ReleaseDC(nullptr, screen);
    ::SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            pixels.push_back(::GetPixel(dc, x, y));
    ::DeleteObject(::SelectObject(dc, old));
    ::DeleteDC(dc);
    return pixels;
}

class ControlsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dialog.Create()); }
    HWND Dialog() const { return m_dialog.GetSafeHwnd(); }
    RECT ClientRectOf(int id) const
    {
        RECT rect;
        ::GetWindowRect(m_dialog.GetDlgItem(id), &rect);
        ::MapWindowPoints(nullptr, Dialog(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    CTestDialog m_dialog;
};
}

TEST_F(ControlsTest, AnchoredControlsFollowTheGrowthAndTheStartSizeIsTheMinimum)
{
    const int dx = 40, dy = 30;
    const struct
    {
        int id;
        RECT moves;   // how far each edge should move
    } cases[] = {
        {IDC_RECEIVER_FRAME_LIST, {0, 0, dx, dy}},
        {IDCANCEL, {dx, dy, dx, dy}},
        {IDC_RECEIVER_STORED_FRAME, {0, 0, dx, 0}},
        {IDC_RECEIVER_FRAME_COUNTER, {0, 0, 0, 0}},
    };
    std::vector<RECT> before;
    for (const auto& c : cases)
        before.push_back(ClientRectOf(c.id));
    RECT start, now;
    ::GetWindowRect(Dialog(), &start);
    const SIZE size{start.right - start.left, start.bottom - start.top};

    ::SetWindowPos(Dialog(), nullptr, 0, 0, size.cx + dx, size.cy + dy, SWP_NOMOVE | SWP_NOZORDER);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const RECT& b = before[i];
        const RECT& m = cases[i].moves;
        const RECT expected{b.left + m.left, b.top + m.top, b.right + m.right, b.bottom + m.bottom};
        const RECT after = ClientRectOf(cases[i].id);
        EXPECT_TRUE(::EqualRect(&expected, &after)) << cases[i].id;
    }

    ::SetWindowPos(Dialog(), nullptr, 0, 0, size.cx - 20, size.cy - 20, SWP_NOMOVE | SWP_NOZORDER);
    ::GetWindowRect(Dialog(), &now);
    EXPECT_TRUE(::EqualRect(&start, &now));
    EXPECT_EQ(before[0].right, ClientRectOf(IDC_RECEIVER_FRAME_LIST).right);
}

// Switched on again and again, sooner than its time runs out, the lamp
// stays on; then it goes back by itself, also when the switch came from
// another thread (the serial worker's).
TEST_F(ControlsTest, TheLampGoesBackByItselfAndASecondSwitchRestartsItsTime)
{
    CLedButton led;
    ASSERT_TRUE(led.Attach(Dialog(), IDC_RECEIVER_STORING_LED));
    EXPECT_TRUE(led.SetIcons(IDI_LED_OFF, IDI_LED_ON));
    led.SetReturnTimer(1125, 600, 0);
    bool wentOff = false;
    for (int i = 0; i < 15; ++i) {
        led.SetState(1);
        const ULONGLONG next = ::GetTickCount64() + 100;
        PumpUntil([&] { return ::GetTickCount64() >= next; });
        wentOff = wentOff || led.GetState() == 0;
    }
    EXPECT_FALSE(wentOff);
    EXPECT_TRUE(PumpUntil([&] { return led.GetState() == 0; }));

    std::thread([&] { led.SetState(1); }).join();
    EXPECT_TRUE(PumpUntil([&] { return led.GetState() == 1; }));
    EXPECT_TRUE(PumpUntil([&] { return led.GetState() == 0; }));
}

TEST_F(ControlsTest, LabelsDrawTheirColours)
{
    CGradientLabel gradient;
    ASSERT_TRUE(gradient.Attach(Dialog(), IDC_RECEIVER_STORED_FRAME));
    gradient.SetGradient(RGB(0, 0, 0), RGB(0, 255, 0));
    int width = 0;
    const std::vector<COLORREF> bar = Capture(gradient.GetSafeHwnd(), width);
    ASSERT_GT(width, 100);
    EXPECT_EQ(RGB(0, 0, 0), bar.front());
    EXPECT_EQ(0, GetRValue(bar[static_cast<size_t>(width - 1)]));
    EXPECT_GT(GetGValue(bar[static_cast<size_t>(width - 1)]), 200);

    CColorLabel label;
    ASSERT_TRUE(label.Attach(Dialog(), IDC_RECEIVER_STATUS_STORE));
    ::SetWindowTextA(label.GetSafeHwnd(), "< ETHERNET TCP >\n< RESULT\\ >");
    auto bluePixels = [&] {
        const std::vector<COLORREF> pixels = Capture(label.GetSafeHwnd(), width);
        return std::count_if(pixels.begin(), pixels.end(), [](COLORREF p) {
            return GetBValue(p) > GetRValue(p) + 100 && GetBValue(p) > GetGValue(p) + 100;
        });
    };
    EXPECT_EQ(0, bluePixels());
    label.SetTextColor(RGB(0, 0, 255));
    EXPECT_GT(bluePixels(), 0);
}

TEST_F(ControlsTest, TheSplashClosesOnItsTimerAndOnAKey)
{
    CSplashWindow::EnableSplashScreen(false);
    EXPECT_FALSE(CSplashWindow::ShowSplashScreen(Dialog(), IDB_SPLASH, 100));

    CSplashWindow::EnableSplashScreen(true);
    ASSERT_TRUE(CSplashWindow::ShowSplashScreen(Dialog(), IDB_SPLASH, 100));
    EXPECT_TRUE(CSplashWindow::IsShowing());
    EXPECT_FALSE(CSplashWindow::ShowSplashScreen(Dialog(), IDB_SPLASH, 100));
    EXPECT_TRUE(PumpUntil([] { return !CSplashWindow::IsShowing(); }));

    ASSERT_TRUE(CSplashWindow::ShowSplashScreen(Dialog(), IDB_SPLASH, 60000));
    const MSG move{Dialog(), WM_MOUSEMOVE, 0, 0, 0, {0, 0}};
    const MSG key{Dialog(), WM_KEYDOWN, VK_SPACE, 0, 0, {0, 0}};
    EXPECT_FALSE(CSplashWindow::CloseOnInput(move));
    EXPECT_TRUE(CSplashWindow::CloseOnInput(key));
    EXPECT_FALSE(CSplashWindow::IsShowing());
    EXPECT_FALSE(CSplashWindow::CloseOnInput(key));
    EXPECT_FALSE(CSplashWindow::ShowSplashScreen(Dialog(), 4242, 100));
}
