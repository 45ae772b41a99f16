#include "printing/PrintSettings.h"
#include "printing/TicketPrinter.h"
#include "tests/support/TempDir.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
const char* const JobFile = "VorlFrame2Printer.txt";

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

enum RecordKind { Example, Full, Unended };

// The worked example's record, with every slot filled, or with every slot
// but the frame filled to its end without a terminator.
PrintRecord Record(RecordKind kind)
{
    PrintRecord record;
    std::memset(&record, kind == Unended ? 'x' : 0, sizeof record);
    record.frame[0] = '\0';
    if (kind == Unended)
        return record;
    FillPrintSlot(record.dateTime, "05/12/2026 18:02:36");
    FillPrintSlot(record.frame, "OK 12.3");
    FillPrintSlot(record.serialNumber, kind == Full ? "SN-7" : "");
    FillPrintSlot(record.operatorName, kind == Full ? "Ann" : "");
    FillPrintSlot(record.comment, kind == Full ? "batch 4" : "");
    return record;
}

class PrintJobTest : public ::testing::Test
{
protected:
    using Formatter = int (CPrintSettings::*)(char*, int, const char*) const;
    // The formatted field, whose length the formatter must return.
    std::string Field(Formatter format, int line, const std::string& text)
    {
        char buffer[CPrintSettings::FieldBufferSize] = "old";
        const int length = (settings.*format)(buffer, line, text.c_str());
        EXPECT_EQ(length, static_cast<int>(std::strlen(buffer)));
        return buffer;
    }
    std::string Epl(int line, const std::string& text) { return Field(&CPrintSettings::FormatEplField, line, text); }
    std::string Zpl(int line, const std::string& text) { return Field(&CPrintSettings::FormatZplField, line, text); }

    CTempDir dir;
    CPrintSettings settings;
    CTicketPrinter printer;
};
}

// The worked example first.  The job puts the serial number before the
// operator whatever their positions; disabled and empty entries give no
// line; slots without a terminator are read to their end only; an unknown
// type empties the previous job and fails.  Tickets take the margins,
// labels none.
TEST_F(PrintJobTest, EveryPrintingTypeBuildsItsJobFromTheEnabledEntries)
{
    const int Defaults = -1;
    struct Case { int type, enabled; RecordKind record; std::vector<std::string> lines; unsigned result; };
    const std::string date = "05/12/2026 18:02:36", eplDate = "A100,160,0,1,1,1,N,\"" + date + "\"";
    const std::string slot(21, 'x');
    const Case cases[] = {
        {CPrintSettings::Epl2Label, Defaults, Example, {"N", eplDate, "A100,200,0,1,1,1,N,\"OK 12.3\"", "P1"}, 0},
        {CPrintSettings::Zpl2Label, Defaults, Example,
         {"^XA", "^FO100,160 ^A0,32,32^FD" + date + "^FS", "^FO100,200 ^A0,32,32^FDOK 12.3^FS", "^XZ"}, 0},
        {CPrintSettings::TicketA4, Defaults, Example, {date, "OK 12.3"}, 0},
        {CPrintSettings::TicketA4, 1, Full, {"SN-7", "Ann", date, "batch 4", "OK 12.3"}, 0},
        {CPrintSettings::Epl2Label, 1, Full, {"N", "A100,500,0,1,1,1,N,\"SN-7\"", "A100,40,0,1,1,1,N,\"Ann\"",
         eplDate, "A100,120,0,1,1,1,N,\"batch 4\"", "A100,200,0,1,1,1,N,\"OK 12.3\"", "P1"}, 0},
        {3, 1, Full, {}, CPrintSettings::Failure},
        {CPrintSettings::TicketA4, 1, Example, {date, "OK 12.3"}, 0},
        {CPrintSettings::TicketA4, 1, Unended, {slot, slot, slot, std::string(100, 'x')}, 0},
        {CPrintSettings::Zpl2Label, 0, Full, {"^XA", "^XZ"}, 0},
        {-1, 0, Full, {}, CPrintSettings::Failure},
        {CPrintSettings::Epl2Label, 0, Full, {"N", "P1"}, 0},
        {CPrintSettings::TicketA4, 0, Full, {}, 0},
    };
    settings.m_lines[CPrintSettings::SerialNumberLine].y = 500;
    settings.m_leftMargin = 5;
    settings.m_upperMargin = 3;
    for (const Case& c : cases)
    {
        for (PrintLine& line : settings.m_lines)
            line.enabled = c.enabled == Defaults ? line.enabled : c.enabled;
        settings.m_printingType = c.type;
        EXPECT_EQ(c.result, settings.BuildPrintJob(JobFile, printer, Record(c.record))) << &c - cases;
        EXPECT_EQ(Joined(c.lines), dir.Read(JobFile)) << &c - cases;
        const bool ticket = c.type == CPrintSettings::TicketA4;
        EXPECT_EQ((std::vector<int>{ticket ? 5 : 0, ticket ? 3 : 0}),
                  (std::vector<int>{printer.GetLeftMargin(), printer.GetTopMargin()})) << &c - cases;
    }
}

TEST_F(PrintJobTest, LabelCharacterSizeSelectsTheFontOfBothLanguages)
{
    struct Expected { int carSize; const char* epl; const char* zpl; };
    const Expected table[] = {
        {0, "A100,200,0,1,1,1,N,\"x\"", "^FO100,200 ^A0,32,32^FDx^FS"},
        {1, "A100,200,0,2,1,1,N,\"x\"", "^FO100,200 ^A0,28,28^FDx^FS"},
        {2, "A100,200,0,3,1,1,N,\"x\"", "^FO100,200 ^A0,24,24^FDx^FS"},
        {3, "A100,200,0,4,1,1,N,\"x\"", "^FO100,200 ^A1,24,18^FDx^FS"},
        {4, "A100,200,0,4,1,1,N,\"x\"", "^FO100,200 ^A1,24,16^FDx^FS"},
        {5, "A100,200,0,4,1,1,N,\"x\"", "^FO100,200 ^A1,24,14^FDx^FS"},
        {6, "A100,200,0,3,1,1,N,\"x\"", "^FO100,200 ^A0,32,28^FDx^FS"},
        {-1, "A100,200,0,3,1,1,N,\"x\"", "^FO100,200 ^A0,32,28^FDx^FS"},
    };
    for (const Expected& expected : table)
    {
        settings.m_labelCarSize = expected.carSize;
        EXPECT_EQ(expected.epl, Epl(CPrintSettings::FrameLine, "x")) << expected.carSize;
        EXPECT_EQ(expected.zpl, Zpl(CPrintSettings::FrameLine, "x")) << expected.carSize;
    }
}

TEST_F(PrintJobTest, LabelTextCannotBreakOutOfItsField)
{
    const int comment = CPrintSettings::CommentLine;
    EXPECT_EQ("A100,120,0,1,1,1,N,\"say \\\"hi\\\" C:\\\\x\"", Epl(comment, "say \"hi\" C:\\x"));
    EXPECT_EQ("A100,120,0,1,1,1,N,\"a  P9\"", Epl(comment, "a\r\nP9"));
    EXPECT_EQ("^FO100,120 ^A0,32,32^FH^FD1_5EXZ_7EJR_5F2^FS", Zpl(comment, "1^XZ~JR_2"));
    // Without a caret or tilde the field is sent as it is, underscore and all.
    EXPECT_EQ("^FO100,120 ^A0,32,32^FDa_b \"c\"^FS", Zpl(comment, "a_b \"c\""));

    // The longest comment, all escapes, still fits the field buffer.
    std::string escaped;
    for (int i = 0; i < 99; ++i)
        escaped += "\\\"";
    EXPECT_EQ("A100,120,0,1,1,1,N,\"" + escaped + "\"", Epl(comment, std::string(99, '"')));
    EXPECT_LT(Zpl(comment, std::string(99, '^')).size(), size_t{CPrintSettings::FieldBufferSize});
    // A longer text is cut to the buffer, and the length says so.
    EXPECT_EQ(size_t{CPrintSettings::FieldBufferSize - 1}, Epl(comment, std::string(600, 'x')).size());

    // An unknown entry has an empty field and no position.
    EXPECT_EQ("", Epl(5, "x"));
    EXPECT_EQ("", Zpl(-1, "x"));
    EXPECT_EQ(0, settings.GetLineX(5));
    EXPECT_EQ(0, settings.GetLineY(-1));
}

// Job lines are appended and emptied in the job table above.
TEST_F(PrintJobTest, JobFileLinesAreCountedWhateverTheirEnds)
{
    EXPECT_EQ(0, printer.CountFileLines("missing.txt"));
    dir.Write("lines.txt", "");
    EXPECT_EQ(0, printer.CountFileLines("lines.txt"));
    dir.Write("lines.txt", "a\r\n\r\nb\nlast");
    EXPECT_EQ(4, printer.CountFileLines("lines.txt"));
}
