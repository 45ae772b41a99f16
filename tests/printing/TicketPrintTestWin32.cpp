// Prints real jobs on the default printer.  ticket-print-test.sh runs each
// case against a private CUPS queue that turns every job into a PDF, and
// checks those PDFs; the cases here check what the program itself sees.
#include "framework/Application.h"
#include "printing/PrintSettings.h"
#include "printing/ProgressWindow.h"
#include "printing/TicketPrinter.h"
#include "tests/support/TempDir.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
const char* const JobFile = "VorlFrame2Printer.txt";

PrintRecord FullRecord()
{
    PrintRecord record;
    std::memset(&record, 0, sizeof record);
    FillPrintSlot(record.serialNumber, "SN-0042");
    FillPrintSlot(record.operatorName, "Ann Operator");
    FillPrintSlot(record.dateTime, "05/12/2026 18:02:36");
    FillPrintSlot(record.comment, "Batch 7 \"night\"");
    FillPrintSlot(record.frame, "OK 12.3");
    return record;
}

std::string WindowText(HWND hwnd)
{
    char text[512] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// The progress window this thread shows, if any.
HWND ThreadProgressWindow()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM result) -> BOOL {
            char name[64] = "";
            GetClassNameA(hwnd, name, sizeof name);
            if (std::string(name) != CProgressWindow::WindowClassName)
                return TRUE;
            *reinterpret_cast<HWND*>(result) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// A window of the test's thread that receives what the user or the link
// would send while a job prints.
class CMessageTarget
{
public:
    CMessageTarget()
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &CMessageTarget::WindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuorbelPrintTestTarget";
        RegisterClassA(&windowClass);
        m_hwnd = CreateWindowExA(0, windowClass.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10,
                                 nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~CMessageTarget() { DestroyWindow(m_hwnd); }
    HWND Hwnd() const { return m_hwnd; }

    static const UINT FrameMessage = WM_APP + 1;
    static CTicketPrinter* s_printer;
    static unsigned s_nestedResult;
    static std::string s_progressCaption;
    static std::string s_progressText;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message != FrameMessage)
            return DefWindowProcA(hwnd, message, wParam, lParam);
        HWND progress = ThreadProgressWindow();
        s_progressCaption = WindowText(progress);
        s_progressText = WindowText(GetDlgItem(progress, CProgressWindow::TextId));
        // A frame arrives while the first job prints: its job is built in
        // the same job file at once.
        s_printer->WriteJobLine(JobFile, "", CTicketPrinter::EmptyFile);
        s_printer->WriteJobLine(JobFile, "second job only line", CTicketPrinter::AppendLine);
        s_nestedResult = s_printer->PrintTextFile(JobFile);
        return 0;
    }

    HWND m_hwnd;
};

CTicketPrinter* CMessageTarget::s_printer = nullptr;
unsigned CMessageTarget::s_nestedResult = 1;
std::string CMessageTarget::s_progressCaption;
std::string CMessageTarget::s_progressText;

class TicketPrint : public ::testing::Test
{
protected:
    TicketPrint()
    {
        CApplication::SetMessageBoxInterceptor([this](const std::string& text, UINT) { messages.push_back(text); return IDOK; });
    }

    void WriteNumberedLines(const char* prefix, int count)
    {
        printer.WriteJobLine(JobFile, "", CTicketPrinter::EmptyFile);
        for (int i = 1; i <= count; ++i)
        {
            const std::string line = prefix + std::to_string(100 + i).substr(1);
            printer.WriteJobLine(JobFile, line.c_str(), CTicketPrinter::AppendLine);
        }
    }

    void PrintTicket(int leftMargin, int upperMargin)
    {
        for (PrintLine& line : settings.m_lines)
            line.enabled = 1;
        settings.m_leftMargin = leftMargin;
        settings.m_upperMargin = upperMargin;
        ASSERT_EQ(0u, settings.BuildPrintJob(JobFile, printer, FullRecord()));
        EXPECT_EQ(0u, printer.PrintTextFile(JobFile));
    }

    void PrintWorkedExample(int printingType)
    {
        settings.m_printingType = printingType;
        PrintRecord record;
        std::memset(&record, 0, sizeof record);
        FillPrintSlot(record.dateTime, "05/12/2026 18:02:36");
        FillPrintSlot(record.frame, "OK 12.3");
        ASSERT_EQ(0u, settings.BuildPrintJob(JobFile, printer, record));
        EXPECT_EQ(0u, printer.PrintTextFile(JobFile));
    }

    void TearDown() override { EXPECT_EQ(std::vector<std::string>(), messages); }

    CTempDir dir;
    CPrintSettings settings;
    CTicketPrinter printer;
    std::vector<std::string> messages;
};
}

// Two jobs, one without and one with margins.
TEST_F(TicketPrint, TicketsWithoutAndWithMargins)
{
    PrintTicket(0, 0);
    PrintTicket(5, 3);
}

TEST_F(TicketPrint, Epl2Label)
{
    PrintWorkedExample(CPrintSettings::Epl2Label);
}

TEST_F(TicketPrint, JobBuiltWhilePrintingFollowsTheRunningOne)
{
    CMessageTarget target;
    CMessageTarget::s_printer = &printer;
    WriteNumberedLines("first job line ", 3);
    PostMessageA(target.Hwnd(), CMessageTarget::FrameMessage, 0, 0);
    EXPECT_EQ(0u, printer.PrintTextFile(JobFile));
    EXPECT_EQ(0u, CMessageTarget::s_nestedResult);
    // The message came in after the first of three lines.
    EXPECT_EQ("Printing ..VorlFrame2Printer.txt [33%]", CMessageTarget::s_progressCaption);
    EXPECT_EQ(JobFile, CMessageTarget::s_progressText);
    EXPECT_EQ(nullptr, ThreadProgressWindow());
}

TEST_F(TicketPrint, EscapeStopsAfterTheCurrentLine)
{
    CMessageTarget target;
    WriteNumberedLines("line ", 10);
    PostMessageA(target.Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_EQ(0u, printer.PrintTextFile(JobFile));
}

TEST(NoPrinter, JobIsNotAttemptedAndTheUserIsToldOnce)
{
    CTempDir dir;
    CTicketPrinter printer;
    std::vector<std::string> messages;
    CApplication::SetMessageBoxInterceptor([&messages](const std::string& text, UINT) { messages.push_back(text); return IDOK; });
    printer.WriteJobLine(JobFile, "never printed", CTicketPrinter::AppendLine);
    EXPECT_EQ(CTicketPrinter::Failure, printer.PrintTextFile(JobFile));
    EXPECT_EQ(CTicketPrinter::Failure, printer.PrintTextFile(JobFile));
    EXPECT_EQ(std::vector<std::string>{CTicketPrinter::NoPrinterMessage}, messages);
}
