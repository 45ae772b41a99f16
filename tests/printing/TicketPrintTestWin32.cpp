// Prints real jobs on the default printer, and drives the progress window
// that printing shows.  ticket-print-test.sh runs the TicketPrint and
// NoPrinter cases against a private CUPS queue that turns every job into a
// PDF, and checks those PDFs; the cases here check what the program itself
// sees.  The ProgressWindow cases need no printer.
#include "framework/Application.h"
#include "framework/Window.h"
#include "printing/PrintSettings.h"
#include "printing/ProgressWindow.h"
#include "printing/TicketPrinter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace
{
const char* const JobFile = "VorlFrame2Printer.txt";

std::string WindowText(HWND hwnd)
{
    char text[600] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// A window of the test's thread that stands for the link: what is posted
// to it runs while a job prints.
class CFrameTarget : public CWindow
{
public:
    explicit CFrameTarget(std::function<void()> onFrame) : m_onFrame(std::move(onFrame))
    {
        Create("frames", WS_OVERLAPPED, 0, RECT{0, 0, 10, 10}, nullptr);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP)
            m_onFrame();
        return CWindow::WindowProc(message, wParam, lParam);
    }

private:
    std::function<void()> m_onFrame;
};

class TicketPrint : public ::testing::Test
{
protected:
    TicketPrint()
    {
        CApplication::SetMessageBoxInterceptor([this](const std::string& text, UINT) {
            messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override { EXPECT_EQ(std::vector<std::string>(), messages); }

    void WriteJob(const std::string& prefix, int lines)
    {
        printer.WriteJobLine(JobFile, "", CTicketPrinter::EmptyFile);
        for (int i = 1; i <= lines; ++i)
            printer.WriteJobLine(JobFile, (prefix + std::to_string(100 + i).substr(1)).c_str(),
                                 CTicketPrinter::AppendLine);
    }

    void Print(int printingType, int leftMargin, int upperMargin)
    {
        const PrintRecord record{"SN-0042", "Ann Operator", "05/12/2026 18:02:36", "Batch 7 \"night\"",
                                 "OK 12.3"};
        settings.m_printingType = printingType;
        settings.m_leftMargin = leftMargin;
        settings.m_upperMargin = upperMargin;
        ASSERT_EQ(0u, settings.BuildPrintJob(JobFile, printer, record));
        EXPECT_EQ(0u, printer.PrintTextFile(JobFile));
    }

    CTempDir dir;
    CPrintSettings settings;
    CTicketPrinter printer;
    std::vector<std::string> messages;
};
using NoPrinter = TicketPrint;
}

// The label with the settings' own choice of texts, then two tickets of
// every text, without and with margins.
TEST_F(TicketPrint, Epl2LabelThenTicketsWithoutAndWithMargins)
{
    Print(CPrintSettings::Epl2Label, 0, 0);
    for (PrintLine& line : settings.m_lines)
        line.enabled = 1;
    Print(CPrintSettings::TicketA4, 0, 0);
    Print(CPrintSettings::TicketA4, 5, 3);
}

// A frame arrives while the first job prints, and the operator presses
// Escape: the running job stops after its current line, and the frame's
// job, built in the same job file at once, follows it whole.
TEST_F(TicketPrint, EscapeStopsTheRunningJobAndAJobBuiltMeanwhileFollowsWhole)
{
    std::string caption, text;
    unsigned nestedResult = 1;
    CFrameTarget link([&] {
        // The queue test runs alone: the one progress window is this job's.
        const HWND progress = FindWindowA(CProgressWindow::WindowClassName, nullptr);
        caption = WindowText(progress);
        text = WindowText(GetDlgItem(progress, CProgressWindow::TextId));
        WriteJob("second job line ", 2);
        nestedResult = printer.PrintTextFile(JobFile);
        // Escape as the keyboard delivers it to this thread; the pump translates it.
        PostMessageA(nullptr, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    });
    WriteJob("first job line ", 3);
    PostMessageA(link.GetSafeHwnd(), WM_APP, 0, 0);
    EXPECT_EQ(0u, printer.PrintTextFile(JobFile));
    EXPECT_EQ(0u, nestedResult);
    // The frame came in after the first of three lines.
    EXPECT_EQ("Printing ..VorlFrame2Printer.txt [33%]", caption);
    EXPECT_EQ(JobFile, text);
    EXPECT_EQ(nullptr, FindWindowA(CProgressWindow::WindowClassName, nullptr));
}

TEST_F(NoPrinter, JobIsNotAttemptedAndTheUserIsToldOnce)
{
    WriteJob("never printed ", 1);
    EXPECT_EQ(CTicketPrinter::Failure, printer.PrintTextFile(JobFile));
    EXPECT_EQ(CTicketPrinter::Failure, printer.PrintTextFile(JobFile));
    EXPECT_EQ(std::vector<std::string>{CTicketPrinter::NoPrinterMessage}, messages);
    messages.clear();
}

namespace
{
// A cancellable window as printing makes it.
CProgressWindow PrintProgress()
{
    return CProgressWindow(nullptr, "Printing ..job.txt", true, true, 1, 390, 22);
}

// Pumps until the window is cancelled or about five seconds have passed.
bool PumpUntilCancelled(CProgressWindow& window)
{
    const ULONGLONG end = GetTickCount64() + 5000;
    while (!window.IsCancelled() && GetTickCount64() < end) {
        window.PeekAndPump(true);
        Sleep(5);
    }
    return window.IsCancelled();
}
}

TEST(ProgressWindow, OneSavedOffTheScreenIsCentredItsTextIsCutAndAQuitRequestIsKept)
{
    CApplication::WriteProfileInt(CProgressWindow::ProfileSection, "X", GetSystemMetrics(SM_CXSCREEN) + 10);
    CApplication::WriteProfileInt(CProgressWindow::ProfileSection, "Y", 20);
    CProgressWindow window = PrintProgress();
    window.SetRememberPosition(false);
    RECT rect;
    GetWindowRect(window.GetSafeHwnd(), &rect);
    EXPECT_LE(std::abs((rect.left + rect.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
    EXPECT_LE(std::abs((rect.top + rect.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);

    window.SetText("%s", std::string(700, 'x').c_str());
    EXPECT_EQ(std::string(511, 'x'), WindowText(GetDlgItem(window.GetSafeHwnd(), CProgressWindow::TextId)));

    // The application's own loop must still see the quit request.
    PostQuitMessage(7);
    window.PeekAndPump(true);
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, quit.wParam);
    EXPECT_FALSE(window.IsCancelled());
}

TEST(ProgressWindow, EscapeOrCancelHidesItItsPlaceIsRememberedAndTheNextStepShowsIt)
{
    const HWND main = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200,
                                      100, nullptr, nullptr, nullptr, nullptr);
    CApplication::SetMainWindow(main);
    {
        CProgressWindow window = PrintProgress();
        SetWindowPos(window.GetSafeHwnd(), nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        PostMessageA(main, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        EXPECT_TRUE(PumpUntilCancelled(window));
        EXPECT_FALSE(IsWindowVisible(window.GetSafeHwnd()));
        EXPECT_EQ(main, GetForegroundWindow());
        window.StepIt();
        EXPECT_TRUE(IsWindowVisible(window.GetSafeHwnd()));
    }
    CProgressWindow again = PrintProgress();
    RECT rect;
    GetWindowRect(again.GetSafeHwnd(), &rect);
    EXPECT_EQ(123, rect.left);
    EXPECT_EQ(77, rect.top);
    PostMessageA(GetDlgItem(again.GetSafeHwnd(), CProgressWindow::CancelButtonId), BM_CLICK, 0, 0);
    EXPECT_TRUE(PumpUntilCancelled(again));
    DestroyWindow(main);
    CApplication::SetMainWindow(nullptr);
}
