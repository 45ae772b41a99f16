#pragma once
#include <deque>
#include <string>
#include <vector>

class CProgressWindow;
class CTicketLayout;
class CPrinterPage;

// Prints a text file on the default printer, one file line per printed
// line in a fixed-pitch font, with a progress window that can cancel.  All
// ticket and label jobs go through here.  One object serves one thread.
class CTicketPrinter
{
public:
    enum JobLineMode { EmptyFile = 0, AppendLine = 1 };
    static constexpr unsigned Failure = 65535;

    CTicketPrinter();
    virtual ~CTicketPrinter();
    CTicketPrinter(const CTicketPrinter&) = delete;
    CTicketPrinter& operator=(const CTicketPrinter&) = delete;

    // Margins of the next jobs: left in average character widths of the
    // ticket font, top in lines.
    void SetMargins(int leftMargin, int topMargin);
    int GetLeftMargin() const { return m_leftMargin; }
    int GetTopMargin() const { return m_topMargin; }
    int GetLinesPerPage() const { return m_linesPerPage; }

    // EmptyFile empties (or creates) the file whatever the text; AppendLine
    // adds the text and a line end.  A line that cannot be written is lost
    // without a report.  Returns 0.
    unsigned WriteJobLine(const char* fileName, const char* text, int mode);

    // Number of lines of a text file; 0 when it cannot be opened.
    int CountFileLines(const char* fileName) const;

    // Prints the file as one print job (Windows build).  The file is read
    // whole before printing, so a job built while this one prints (from a
    // message dispatched meanwhile) cannot change it; such a job is queued
    // and printed after the running one.  0, or Failure when there is no
    // printer or a line could not be drawn or read.
    unsigned PrintTextFile(const char* fileName);

    // The text shown once per printer object when no default printer exists.
    static const char* const NoPrinterMessage;
    static const char* const PrintingErrorMessage;

private:
    struct Job
    {
        std::string name;
        std::vector<std::string> lines;
        bool readError;
    };

    static Job ReadJob(const char* fileName);
    unsigned PrintJob(const Job& job);
    unsigned DrawLines(const Job& job, CPrinterPage& page, CProgressWindow& progress);
    void AdvanceLine(int& lineIndex, int& y, const CTicketLayout& layout, CPrinterPage& page);
    // A message box titled with the document name (Windows build).
    static void ShowMessage(const std::string& text);

    int m_leftMargin;
    int m_topMargin;
    std::string m_faceName;
    int m_pointSize;
    int m_linesPerPage;
    int m_fontWeight;
    bool m_fontItalic;
    bool m_fontUnderline;

    bool m_printing;
    bool m_noPrinterReported;
    std::deque<Job> m_pendingJobs;
};
