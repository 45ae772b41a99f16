#pragma once
#include "printing/PrintRecord.h"

#include <string>
#include <vector>

class CTicketPrinter;

// One printable text of a job: whether it is printed and, on a label, where
// (in printer dots).
struct PrintLine
{
    int enabled;
    int x;
    int y;
};

// What is printed for a frame and how, kept in "PrintSetup.ini" in the
// working directory of the moment the object is created.  The fields are
// plain so that the print setup dialog can edit them in place.
class CPrintSettings
{
public:
    enum PrintingTypes { TicketA4 = 0, Epl2Label = 1, Zpl2Label = 2 };
    static constexpr int LineCount = 5;
    // Job order of the five texts (index into m_lines).
    enum LineIndex { SerialNumberLine, OperatorLine, DateTimeLine, CommentLine, FrameLine };
    // Size of the buffer FormatEplField and FormatZplField write into.
    static constexpr int FieldBufferSize = 512;
    static constexpr unsigned Failure = 65535;

    CPrintSettings();
    virtual ~CPrintSettings() = default;

    // load true reads every key (missing keys take their defaults), false
    // writes every field.  A failed write is not reported.
    void ExchangeIni(bool load);

    // Index 0 to 4 in job order; 0 outside that range.
    int GetLineX(int index) const;
    int GetLineY(int index) const;

    // Empties the job file and writes the job for the record into it, line
    // by line through the printer's job-file writer; sets the printer's
    // margins.  Failure (file left empty) for an unknown printing type.
    unsigned BuildPrintJob(const char* fileName, CTicketPrinter& printer,
                           const PrintRecord& record) const;
    // The lines BuildPrintJob writes; empty for an unknown printing type.
    std::vector<std::string> BuildJobLines(const PrintRecord& record) const;

    // The label command for entry index with the text, into a buffer of
    // FieldBufferSize bytes; returns the length written.
    int FormatEplField(char* buffer, int index, const char* text) const;
    int FormatZplField(char* buffer, int index, const char* text) const;

    unsigned EditSettings();   // Windows: the print setup dialog; 0 after OK, Failure after Cancel
    const std::string& GetIniPath() const { return m_iniPath; }

    int m_printingType = 0;
    int m_numberOfCopies = 0;
    int m_leftMargin = 0;
    int m_upperMargin = 0;
    int m_labelCarSize = 0;
    PrintLine m_lines[LineCount] = {};

private:
    bool IsKnownPrintingType() const;
    std::string m_iniPath;
};
