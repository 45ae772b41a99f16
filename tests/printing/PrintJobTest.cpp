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

// The worked example's record, or with every slot filled.
PrintRecord Record(bool full)
{
    PrintRecord record;
    std::memset(&record, 0, sizeof record);
    FillPrintSlot(record.dateTime, "05/12/2026 18:02:36");
    FillPrintSlot(record.frame, "OK 12.3");
    FillPrintSlot(record.serialNumber, full ? "SN-7" : "");
    FillPrintSlot(record.operatorName, full ? "Ann" : "");
    FillPrintSlot(record.comment, full ? "batch 4" : "");
    return record;
}

class PrintJobTest : public ::testing::Test
{
protected:
    std::string BuildJob(int printingType, const PrintRecord& record, unsigned expectedResult = 0)
    {
        settings.m_printingType = printingType;
        EXPECT_EQ(expectedResult, settings.BuildPrintJob(JobFile, printer, record));
        return dir.Read(JobFile);
    }

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

    void EnableAll(int enabled = 1)
    {
        for (PrintLine& line : settings.m_lines)
            line.enabled = enabled;
    }

    CTempDir dir;
    CPrintSettings settings;
    CTicketPrinter printer;
};
}

TEST_F(PrintJobTest, WorkedExampleIsReproducedForEveryPrintingType)
{
    EXPECT_EQ(Joined({"N", "A100,160,0,1,1,1,N,\"05/12/2026 18:02:36\"",
                      "A100,200,0,1,1,1,N,\"OK 12.3\"", "P1"}),
              BuildJob(CPrintSettings::Epl2Label, Record(false)));
    EXPECT_EQ(Joined({"^XA", "^FO100,160 ^A0,32,32^FD05/12/2026 18:02:36^FS",
                      "^FO100,200 ^A0,32,32^FDOK 12.3^FS", "^XZ"}),
              BuildJob(CPrintSettings::Zpl2Label, Record(false)));
    EXPECT_EQ(Joined({"05/12/2026 18:02:36", "OK 12.3"}),
              BuildJob(CPrintSettings::TicketA4, Record(false)));
}

TEST_F(PrintJobTest, JobOrderPutsSerialNumberBeforeOperatorWhateverTheirPositions)
{
    EnableAll();
    settings.m_lines[CPrintSettings::SerialNumberLine].y = 500;
    EXPECT_EQ(Joined({"SN-7", "Ann", "05/12/2026 18:02:36", "batch 4", "OK 12.3"}),
              BuildJob(CPrintSettings::TicketA4, Record(true)));
    EXPECT_EQ(Joined({"N", "A100,500,0,1,1,1,N,\"SN-7\"", "A100,40,0,1,1,1,N,\"Ann\"",
                      "A100,160,0,1,1,1,N,\"05/12/2026 18:02:36\"",
                      "A100,120,0,1,1,1,N,\"batch 4\"", "A100,200,0,1,1,1,N,\"OK 12.3\"", "P1"}),
              BuildJob(CPrintSettings::Epl2Label, Record(true)));
}

TEST_F(PrintJobTest, DisabledAndEmptyEntriesGiveNoLine)
{
    EnableAll(0);
    EXPECT_EQ("", BuildJob(CPrintSettings::TicketA4, Record(true)));
    EXPECT_EQ(Joined({"N", "P1"}), BuildJob(CPrintSettings::Epl2Label, Record(true)));
    EXPECT_EQ(Joined({"^XA", "^XZ"}), BuildJob(CPrintSettings::Zpl2Label, Record(true)));

    EnableAll();
    EXPECT_EQ(Joined({"05/12/2026 18:02:36", "OK 12.3"}), BuildJob(CPrintSettings::TicketA4, Record(false)));
}

TEST_F(PrintJobTest, UnknownPrintingTypeEmptiesThePreviousJobAndFails)
{
    BuildJob(CPrintSettings::TicketA4, Record(true));
    EXPECT_EQ("", BuildJob(3, Record(true), CPrintSettings::Failure));
    EXPECT_EQ("", BuildJob(-1, Record(true), CPrintSettings::Failure));
}

TEST_F(PrintJobTest, TicketsTakeTheMarginsAndLabelsNone)
{
    settings.m_leftMargin = 5;
    settings.m_upperMargin = 3;
    for (const int type : {CPrintSettings::TicketA4, CPrintSettings::Zpl2Label})
    {
        BuildJob(type, Record(true));
        EXPECT_EQ(type == CPrintSettings::TicketA4 ? 5 : 0, printer.GetLeftMargin());
        EXPECT_EQ(type == CPrintSettings::TicketA4 ? 3 : 0, printer.GetTopMargin());
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

TEST_F(PrintJobTest, SlotsWithoutTerminatorAreReadToTheirEndOnly)
{
    PrintRecord record;
    std::memset(&record, 'x', sizeof record);
    record.frame[0] = '\0';
    EnableAll();
    const std::string slot(21, 'x');
    EXPECT_EQ(Joined({slot, slot, slot, std::string(100, 'x')}), BuildJob(CPrintSettings::TicketA4, record));
}

TEST_F(PrintJobTest, JobLinesAreAppendedOrEmptiedAndCountedWhateverTheirEnds)
{
    printer.WriteJobLine(JobFile, "one", CTicketPrinter::AppendLine);
    printer.WriteJobLine(JobFile, "two", CTicketPrinter::AppendLine);
    EXPECT_EQ("one\r\ntwo\r\n", dir.Read(JobFile));
    EXPECT_EQ(2, printer.CountFileLines(JobFile));
    printer.WriteJobLine(JobFile, "ignored", CTicketPrinter::EmptyFile);
    EXPECT_EQ("", dir.Read(JobFile));
    EXPECT_EQ(0, printer.CountFileLines(JobFile));
    EXPECT_EQ(0, printer.CountFileLines("missing.txt"));
    dir.Write("lines.txt", "a\r\n\r\nb\nlast");
    EXPECT_EQ(4, printer.CountFileLines("lines.txt"));
}
