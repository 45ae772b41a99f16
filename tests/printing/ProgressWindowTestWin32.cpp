#include "printing/ProgressWindow.h"
#include "framework/Application.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace
{
const char* const Title = "Printing ..job.txt";

std::string Text(HWND hwnd)
{
    char buffer[512] = "";
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

HWND Child(const CProgressWindow& window, int id)
{
    return GetDlgItem(window.GetSafeHwnd(), id);
}

RECT ChildRect(const CProgressWindow& window, int id)
{
    RECT rect;
    GetWindowRect(Child(window, id), &rect);
    MapWindowPoints(nullptr, window.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Pumps until the window is cancelled or about five seconds have passed.
bool PumpUntilCancelled(CProgressWindow& window, bool cancelOnEscape)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!window.IsCancelled() && std::chrono::steady_clock::now() < end)
    {
        window.PeekAndPump(cancelOnEscape);
        Sleep(5);
    }
    return window.IsCancelled();
}

void PostEscape(HWND target)
{
    PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(target, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001u));
}

void ForgetPosition()
{
    CApplication::WriteProfileInt(CProgressWindow::ProfileSection, "X", -1);
    CApplication::WriteProfileInt(CProgressWindow::ProfileSection, "Y", -1);
}

class ProgressWindowTest : public ::testing::Test
{
protected:
    void SetUp() override { ForgetPosition(); }
    void TearDown() override { CApplication::SetMainWindow(nullptr); }
};
}

TEST_F(ProgressWindowTest, CancellableWindowIsLaidOutAroundItsTextArea)
{
    CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
    ASSERT_NE(nullptr, window.GetSafeHwnd());
    EXPECT_TRUE(IsWindowVisible(window.GetSafeHwnd()));
    EXPECT_EQ(Title, Text(window.GetSafeHwnd()));
    EXPECT_TRUE(GetWindowLongPtrA(window.GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    const RECT text = ChildRect(window, CProgressWindow::TextId);
    const RECT button = ChildRect(window, CProgressWindow::CancelButtonId);
    const RECT bar = ChildRect(window, CProgressWindow::ProgressBarId);
    RECT client;
    GetClientRect(window.GetSafeHwnd(), &client);
    EXPECT_EQ(10, text.left);
    EXPECT_EQ(10, text.top);
    EXPECT_EQ(400, text.right);
    EXPECT_EQ(text.right, button.right);
    EXPECT_EQ(text.bottom + 10, button.top);
    EXPECT_EQ(10, bar.left);
    EXPECT_EQ(button.left - 10, bar.right);
    EXPECT_GT(bar.top, button.top);
    EXPECT_LT(bar.bottom, button.bottom);
    EXPECT_EQ(410, client.right);
    EXPECT_EQ(button.bottom + 10, client.bottom);

    EXPECT_TRUE(IsWindowVisible(Child(window, CProgressWindow::ProgressBarId)));
    EXPECT_TRUE(IsWindowEnabled(Child(window, CProgressWindow::CancelButtonId)));
    EXPECT_EQ(" Cancel ", Text(Child(window, CProgressWindow::CancelButtonId)));
}

TEST_F(ProgressWindowTest, MoreTextLinesMakeAHigherTextArea)
{
    CProgressWindow one(nullptr, Title, true, true, 1, 300, 22);
    CProgressWindow three(nullptr, Title, true, true, 3, 300, 22);
    CProgressWindow defaulted(nullptr, Title, true, true, 0, 300, 22);
    const int oneHeight = ChildRect(one, CProgressWindow::TextId).bottom - 10;
    EXPECT_GT(oneHeight, 0);
    EXPECT_EQ(3 * oneHeight, ChildRect(three, CProgressWindow::TextId).bottom - 10);
    EXPECT_EQ(2 * oneHeight, ChildRect(defaulted, CProgressWindow::TextId).bottom - 10);
}

TEST_F(ProgressWindowTest, StepsShowThePercentageInTheCaptionUnlessTheRangeIsEmpty)
{
    CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
    window.SetRange(0, 5, 1);
    for (int step = 1; step <= 5; ++step)
    {
        EXPECT_EQ(step - 1, window.StepIt());
        EXPECT_EQ(std::string(Title) + " [" + std::to_string(step * 20) + "%]", Text(window.GetSafeHwnd()));
    }
    EXPECT_EQ(5, SendMessageA(Child(window, CProgressWindow::ProgressBarId), PBM_GETPOS, 0, 0));

    CProgressWindow empty(nullptr, Title, true, true, 1, 390, 22);
    empty.SetRange(0, 0, 1);
    empty.StepIt();
    empty.StepIt();
    EXPECT_EQ(Title, Text(empty.GetSafeHwnd()));
}

TEST_F(ProgressWindowTest, WindowThatCannotCancelHasNoBarAndNoPercentage)
{
    CProgressWindow window(nullptr, "Initializing !!!", true, false, 1, 390, 22);
    EXPECT_FALSE(IsWindowVisible(Child(window, CProgressWindow::ProgressBarId)));
    EXPECT_FALSE(IsWindowEnabled(Child(window, CProgressWindow::CancelButtonId)));
    window.SetRange(0, 4, 1);
    EXPECT_EQ(0, window.StepIt());
    EXPECT_EQ(0, window.StepIt());
    EXPECT_EQ("Initializing !!!", Text(window.GetSafeHwnd()));
}

TEST_F(ProgressWindowTest, TextIsFormattedAndCutToItsBuffer)
{
    CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
    window.SetText("%s %d", "Line # ", 2);
    EXPECT_EQ("Line #  2", Text(Child(window, CProgressWindow::TextId)));
    const std::string longText(700, 'x');
    window.SetText("%s", longText.c_str());
    EXPECT_EQ(std::string(511, 'x'), window.GetText());
}

TEST_F(ProgressWindowTest, EscapeWhilePumpingCancelsAndHides)
{
    HWND main = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100,
                                nullptr, nullptr, nullptr, nullptr);
    CApplication::SetMainWindow(main);
    CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);

    PostEscape(main);
    window.PeekAndPump(false);
    EXPECT_FALSE(window.IsCancelled());
    EXPECT_TRUE(IsWindowVisible(window.GetSafeHwnd()));

    PostEscape(main);
    EXPECT_TRUE(PumpUntilCancelled(window, true));
    EXPECT_FALSE(IsWindowVisible(window.GetSafeHwnd()));
    EXPECT_EQ(main, GetForegroundWindow());
    DestroyWindow(main);
}

TEST_F(ProgressWindowTest, CancelButtonPressedFromAnotherThreadCancels)
{
    CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
    HWND button = Child(window, CProgressWindow::CancelButtonId);
    std::thread user([button] {
        Sleep(50);
        PostMessageA(button, BM_CLICK, 0, 0);
    });
    const bool cancelled = PumpUntilCancelled(window, false);
    user.join();
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(IsWindowVisible(window.GetSafeHwnd()));
}

TEST_F(ProgressWindowTest, HiddenWindowComesBackWithTheNextStep)
{
    CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
    window.Hide();
    EXPECT_FALSE(IsWindowVisible(window.GetSafeHwnd()));
    window.StepIt();
    EXPECT_TRUE(IsWindowVisible(window.GetSafeHwnd()));
}

TEST_F(ProgressWindowTest, PositionIsRememberedAcrossWindows)
{
    {
        CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
        SetWindowPos(window.GetSafeHwnd(), nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EXPECT_EQ(123, CApplication::GetProfileInt(CProgressWindow::ProfileSection, "X", -1));
    EXPECT_EQ(77, CApplication::GetProfileInt(CProgressWindow::ProfileSection, "Y", -1));
    CProgressWindow again(nullptr, Title, true, true, 1, 390, 22);
    RECT rect;
    GetWindowRect(again.GetSafeHwnd(), &rect);
    EXPECT_EQ(123, rect.left);
    EXPECT_EQ(77, rect.top);
}

TEST_F(ProgressWindowTest, PositionOffTheScreenCentresTheWindow)
{
    CApplication::WriteProfileInt(CProgressWindow::ProfileSection, "X", GetSystemMetrics(SM_CXSCREEN) + 10);
    CApplication::WriteProfileInt(CProgressWindow::ProfileSection, "Y", 20);
    CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
    window.SetRememberPosition(false);
    RECT rect;
    GetWindowRect(window.GetSafeHwnd(), &rect);
    const int centreX = (rect.left + rect.right) / 2;
    const int centreY = (rect.top + rect.bottom) / 2;
    EXPECT_LE(std::abs(centreX - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
    EXPECT_LE(std::abs(centreY - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
}

TEST_F(ProgressWindowTest, BackgroundRunsFromDarkToBrightGreen)
{
    CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
    UpdateWindow(window.GetSafeHwnd());
    RECT client;
    GetClientRect(window.GetSafeHwnd(), &client);
    HDC dc = GetDC(window.GetSafeHwnd());
    const COLORREF left = GetPixel(dc, 1, client.bottom - 2);
    const COLORREF right = GetPixel(dc, client.right - 2, client.bottom - 2);
    ReleaseDC(window.GetSafeHwnd(), dc);
    EXPECT_EQ(RGB(0, 52, 0), left);
    EXPECT_EQ(RGB(0, 255, 0), right);
}

namespace
{
int g_dispatched = 0;

LRESULT CALLBACK CountingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
        ++g_dispatched;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
}

TEST_F(ProgressWindowTest, PumpingDispatchesEveryWaitingMessage)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &CountingWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuorbelPumpCounter";
    RegisterClassA(&windowClass);
    HWND counter = CreateWindowExA(0, windowClass.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10,
                                   nullptr, nullptr, windowClass.hInstance, nullptr);
    CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
    g_dispatched = 0;
    for (int i = 0; i < 3; ++i)
        PostMessageA(counter, WM_APP, 0, 0);
    window.PeekAndPump(true);
    EXPECT_EQ(3, g_dispatched);
    DestroyWindow(counter);
}

TEST_F(ProgressWindowTest, QuitRequestIsKeptForTheApplicationsOwnLoop)
{
    CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
    PostQuitMessage(7);
    window.PeekAndPump(true);
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, quit.wParam);
    EXPECT_FALSE(window.IsCancelled());
}
