#include "printing/TicketPrinter.h"

#include "processing/FileSystem.h"

#include <cstdio>

const char* const CTicketPrinter::NoPrinterMessage =
    "No default printer is installed: frames are not printed.";
const char* const CTicketPrinter::PrintingErrorMessage = "Printing Error ...";

namespace
{
// Reads one line without its line end; false at the end of the file.
bool ReadLine(std::FILE* file, std::string& line)
{
    line.clear();
    int c;
    while ((c = std::fgetc(file)) != EOF && c != '\n')
        line += static_cast<char>(c);
    if (c == EOF && line.empty())
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

std::FILE* OpenFile(const char* fileName, const char* mode)
{
    return std::fopen(FileSystem::HostPath(fileName).c_str(), mode);
}
}

CTicketPrinter::CTicketPrinter()
    : m_leftMargin(0), m_topMargin(0), m_faceName("Courier New"), m_pointSize(10),
      m_linesPerPage(60), m_fontWeight(900), m_fontItalic(false), m_fontUnderline(false),
      m_printing(false), m_noPrinterReported(false)
{
}

CTicketPrinter::~CTicketPrinter() = default;

void CTicketPrinter::SetMargins(int leftMargin, int topMargin)
{
    m_leftMargin = leftMargin;
    m_topMargin = topMargin;
}

unsigned CTicketPrinter::WriteJobLine(const char* fileName, const char* text, int mode)
{
    // Binary mode with explicit CR LF: the file has the same bytes on
    // every build.
    std::FILE* file = OpenFile(fileName, mode == EmptyFile ? "wb" : "ab");
    if (!file)
        return 0;
    if (mode != EmptyFile)
    {
        std::fputs(text, file);
        std::fputs("\r\n", file);
    }
    std::fclose(file);
    return 0;
}

int CTicketPrinter::CountFileLines(const char* fileName) const
{
    return static_cast<int>(ReadJob(fileName).lines.size());
}

CTicketPrinter::Job CTicketPrinter::ReadJob(const char* fileName)
{
    Job job{fileName, {}, false};
    std::FILE* file = OpenFile(fileName, "rb");
    if (!file)
        return job;
    std::string line;
    while (ReadLine(file, line))
        job.lines.push_back(line);
    job.readError = std::ferror(file) != 0;
    std::fclose(file);
    return job;
}
