#include "printing/ProgressWindow.h"
#include "framework/Application.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace
{
const char* const Title = "Printing ..job.txt";

std::string Text(HWND hwnd)
{
    char buffer[512] = "";
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
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

void SavePosition(int x, int y)
{
    CApplication::WriteProfileInt(CProgressWindow::ProfileSection, "X", x);
    CApplication::WriteProfileInt(CProgressWindow::ProfileSection, "Y", y);
}

class ProgressWindowTest : public ::testing::Test
{
protected:
    void SetUp() override { SavePosition(-1, -1); }
    void TearDown() override { CApplication::SetMainWindow(nullptr); }
};
}

TEST_F(ProgressWindowTest, TextIsFormattedAndCutToItsBuffer)
{
    CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
    window.SetText("%s %d", "Line # ", 2);
    EXPECT_EQ("Line #  2", Text(GetDlgItem(window.GetSafeHwnd(), CProgressWindow::TextId)));
    window.SetText("%s", std::string(700, 'x').c_str());
    EXPECT_EQ(std::string(511, 'x'), window.GetText());
}

TEST_F(ProgressWindowTest, EscapeWhilePumpingCancelsHidesAndTheNextStepShowsAgain)
{
    HWND main = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100,
                                nullptr, nullptr, nullptr, nullptr);
    CApplication::SetMainWindow(main);
    CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
    PostEscape(main);
    window.PeekAndPump(false);
    EXPECT_FALSE(window.IsCancelled());

    PostEscape(main);
    EXPECT_TRUE(PumpUntilCancelled(window, true));
    EXPECT_FALSE(IsWindowVisible(window.GetSafeHwnd()));
    EXPECT_EQ(main, GetForegroundWindow());
    window.StepIt();
    EXPECT_TRUE(IsWindowVisible(window.GetSafeHwnd()));
    DestroyWindow(main);
}

TEST_F(ProgressWindowTest, TheCancelButtonCancels)
{
    CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
    PostMessageA(GetDlgItem(window.GetSafeHwnd(), CProgressWindow::CancelButtonId), BM_CLICK, 0, 0);
    EXPECT_TRUE(PumpUntilCancelled(window, false));
}

TEST_F(ProgressWindowTest, PositionIsRememberedAndOneOffTheScreenCentresTheWindow)
{
    {
        CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
        SetWindowPos(window.GetSafeHwnd(), nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CProgressWindow again(nullptr, Title, true, true, 1, 390, 22);
    RECT rect;
    GetWindowRect(again.GetSafeHwnd(), &rect);
    EXPECT_EQ(123, rect.left);
    EXPECT_EQ(77, rect.top);

    SavePosition(GetSystemMetrics(SM_CXSCREEN) + 10, 20);
    CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
    window.SetRememberPosition(false);
    GetWindowRect(window.GetSafeHwnd(), &rect);
    EXPECT_LE(std::abs((rect.left + rect.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
    EXPECT_LE(std::abs((rect.top + rect.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
}

TEST_F(ProgressWindowTest, PumpingKeepsTheQuitRequestForTheApplicationsOwnLoop)
{
    CProgressWindow window(nullptr, Title, true, true, 1, 390, 22);
    PostQuitMessage(7);
    window.PeekAndPump(true);
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, quit.wParam);
    EXPECT_FALSE(window.IsCancelled());
}
