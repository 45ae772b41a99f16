#include "printing/TicketPrinter.h"

#include "framework/Application.h"
#include "printing/PrinterPage.h"
#include "printing/ProgressWindow.h"
#include "printing/TicketLayout.h"

#include <windows.h>

namespace
{
const char* const DocumentName = "Quorbel";
const char* const ProgressTitle = "Printing ..";
const int ProgressWidth = 390;
const int ProgressFontHeight = 22;
}

void CTicketPrinter::ShowMessage(const std::string& text)
{
    CApplication::MessageBox(text, DocumentName, MB_OK);
}

unsigned CTicketPrinter::PrintTextFile(const char* fileName)
{
    Job job = ReadJob(fileName);
    if (m_printing)
    {
        // Called from a message dispatched while a job prints: the job
        // waits for the running one.
        m_pendingJobs.push_back(std::move(job));
        return 0;
    }
    m_printing = true;
    const unsigned result = PrintJob(job);
    while (!m_pendingJobs.empty())
    {
        const Job next = std::move(m_pendingJobs.front());
        m_pendingJobs.pop_front();
        PrintJob(next);
    }
    m_printing = false;
    return result;
}

unsigned CTicketPrinter::PrintJob(const Job& job)
{
    CPrinterPage page;
    if (!page.HasPrinter())
    {
        if (!m_noPrinterReported)
            ShowMessage(NoPrinterMessage);
        m_noPrinterReported = true;
        return Failure;
    }
    if (!page.StartDocument(DocumentName))
    {
        ShowMessage(PrintingErrorMessage);
        return Failure;
    }
    page.SelectTicketFont(m_faceName, m_pointSize, m_fontWeight, m_fontItalic, m_fontUnderline);

    CProgressWindow progress(nullptr, ProgressTitle + job.name, true, true, 1, ProgressWidth,
                             ProgressFontHeight);
    progress.SetRange(0, static_cast<int>(job.lines.size()), 1);
    progress.SetText("%s", job.name.c_str());
    unsigned result = DrawLines(job, page, progress);
    if (job.readError)
    {
        ShowMessage("Error reading " + job.name);
        result = Failure;
    }
    if (!page.EndDocument())
        ShowMessage(PrintingErrorMessage);
    return result;
}

unsigned CTicketPrinter::DrawLines(const Job& job, CPrinterPage& page, CProgressWindow& progress)
{
    const TEXTMETRICA metrics = page.Metrics();
    const CTicketLayout layout(metrics.tmHeight + metrics.tmExternalLeading, m_topMargin, m_linesPerPage);
    const int x = m_leftMargin * metrics.tmAveCharWidth;
    int lineIndex = 0;
    int y = layout.Place(0).y;
    for (std::size_t i = 0; i < job.lines.size(); ++i)
    {
        if (i > 0)
            AdvanceLine(lineIndex, y, layout, page);
        if (!page.DrawLine(x, y, job.lines[i]))
            return Failure;
        progress.StepIt();
        progress.PeekAndPump(true);
        if (progress.IsCancelled())
            break;
        progress.SetText("%s %d", "Line # ", static_cast<int>(i));
    }
    return 0;
}

void CTicketPrinter::AdvanceLine(int& lineIndex, int& y, const CTicketLayout& layout, CPrinterPage& page)
{
    ++lineIndex;
    if (layout.StartsNewPage(lineIndex))
        page.NextPage();
    y = layout.Place(lineIndex).y;
}
