#include "app/FramePipeline.h"
#include "printing/PrintSettings.h"
#include "printing/TicketPrinter.h"
#include "processing/FrameStore.h"
#include "processing/ReceiverSettings.h"
#include "tests/processing/TestClock.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <deque>
#include <gtest/gtest.h>
#include <vector>

namespace
{
const std::string Day = "RESULT\\2026-12-05.TXT";
const std::string Log = "ErrLog\\2026-12-05.LOG";
const std::string Pending = "Quorbel.pending";

struct FakeView : IFrameView
{
    int ListLineCount() override { return static_cast<int>(list.size()); }
    void RemoveFirstListLine() override { list.pop_front(); }
    void AppendListLine(const std::string& text) override { list.push_back(text); }
    void SetStoredLine(const std::string& text) override { stored = text; }
    void SwitchIndicatorOn() override { ++indicator; }
    PrintFields ReadPrintFields() override { return fields; }
    void PrintJobFile(const std::string& fileName) override { jobs.push_back(ReadBytes(fileName)); }

    std::deque<std::string> list;
    std::string stored;
    int indicator = 0;
    PrintFields fields;
    std::vector<std::string> jobs;
};

// One run of the receiver in the current working directory.
struct Receiver
{
    explicit Receiver(int storeType = CReceiverSettings::OriginalFrame)
    {
        settings.m_storeType = storeType;
    }
    std::string Handle(std::string frame)
    {
        result = pipeline.HandleFrame(frame);
        return frame;
    }

    CTestClock clock;
    CReceiverSettings settings;
    CPrintSettings printSettings;
    CFrameStore store{CPendingLines::DefaultBound, clock.Source()};
    CTicketPrinter printer;
    FakeView view;
    CFramePipeline pipeline{view, settings, printSettings, store, printer, clock.Source()};
    int result = -1;
};

}

TEST(FramePipeline, TrimsFramesWritesThemWholeAndShowsTabsAsBlanks)
{
    struct Case { std::string frame, trimmed, shown; };
    const Case cases[] = {
        {"\x02" "A;B;C\r\n", "A;B;C", "A;B;C"},
        {"  A;B \t \t", "  A;B", "  A;B"},
        {"A;B;C\x03\n", "A;B;C\x03", "A;B;C\x03"},
        {std::string("A;B\0;C\r", 7), "A;B", "A;B"},
        {"\x02\x02 X\x02", " X\x02", " X\x02"},
        {"A\tB\tC", "A\tB\tC", "A B C"},
        {" \t\r\n", "", ""},
    };
    CTempDir dir;
    Receiver receiver;
    std::string file;
    for (const Case& c : cases)
    {
        EXPECT_EQ(receiver.Handle(c.frame), c.trimmed);
        EXPECT_EQ(receiver.result, 0);
        EXPECT_EQ(receiver.view.list.back(), c.shown);
        EXPECT_EQ(receiver.view.stored, c.shown);
        file += c.trimmed + "\r\n";
    }
    EXPECT_EQ(ReadBytes(Day), file);
    EXPECT_EQ(receiver.pipeline.FrameCounter(), 7);
    EXPECT_EQ(receiver.view.indicator, 7);
}

TEST(FramePipeline, CounterWrapsAfter99999)
{
#ifdef _WIN32
    GTEST_SKIP() << "100000 file appends under Wine take most of a minute; the count is portable";
#endif
    CTempDir dir;
    Receiver receiver;
    for (int i = 0; i < CFramePipeline::CounterLimit; ++i)
        receiver.Handle("F");
    EXPECT_EQ(receiver.pipeline.FrameCounter(), 99999);
    receiver.Handle("F");
    EXPECT_EQ(receiver.pipeline.FrameCounter(), 0);
    receiver.pipeline.ResetFrameCounter();
    receiver.Handle("F");
    EXPECT_EQ(receiver.pipeline.FrameCounter(), 1);
}

// A frame with too few fields is shown, but in the selected-fields types
// neither counted nor written.
TEST(FramePipeline, OnlyTheSelectedFieldsTypesOpenADayFileWithAHeaderAndNeedThreeFields)
{
    struct Case { int storeType; std::vector<std::string> lines; std::string stored; int counted; };
    const std::string date = "05/12/2026 17:56:09 ;";
    const Case cases[] = {
        {CReceiverSettings::OriginalFrame, {"1;2;3", "4;5;6", "A;B"}, "A;B", 3},
        {CReceiverSettings::OriginalFrameDate, {date + "1;2;3", date + "4;5;6", date + "A;B"}, date + "A;B", 3},
        {CReceiverSettings::SelectedFieldsDate, {"Date-Time;P;R;", date + "1 ; 3 ", date + "4 ; 6 "},
         "Erreur de format !!!", 2},
        {CReceiverSettings::SelectedFields, {"P;R;", "1 ; 3 ", "4 ; 6 "}, "Erreur de format !!!", 2},
    };
    for (const Case& c : cases)
    {
        CTempDir dir;
        Receiver receiver(c.storeType);
        receiver.settings.SetFieldInUse(0, 1);
        receiver.settings.SetFieldInUse(2, 1);
        receiver.settings.SetFieldName(0, "P");
        receiver.settings.SetFieldName(2, "R");
        receiver.pipeline.SetFormatErrorText("Erreur de format !!!");
        for (const char* frame : {"1;2;3", "4;5;6", "A;B"})
            receiver.Handle(frame);
        std::string expected;
        for (const std::string& line : c.lines)
            expected += line + "\r\n";
        EXPECT_EQ(ReadBytes(Day), expected) << "store type " << c.storeType;
        EXPECT_EQ(receiver.view.stored, c.stored);
        EXPECT_EQ(receiver.view.list.back(), "A;B");
        EXPECT_EQ(receiver.result == 0, c.counted == 3);
        EXPECT_EQ(receiver.pipeline.FrameCounter(), c.counted);
        EXPECT_EQ(receiver.view.indicator, c.counted);
    }
}

TEST(FramePipeline, ListSettlesAt10001Lines)
{
    for (const int before : {10000, 10001, 10005})
    {
        CTempDir dir;
        Receiver receiver;
        for (int i = 0; i < before; ++i)
            receiver.view.list.push_back(std::to_string(i));
        receiver.pipeline.AddToFrameList("new");
        EXPECT_EQ(receiver.view.list.size(), 10001u) << before;
        EXPECT_EQ(receiver.view.list.front(), std::to_string(before - 10000)) << before;
        EXPECT_EQ(receiver.view.list.back(), "new");
    }
}

TEST(FramePipeline, PrintsTheStoredLineInTheConfiguredCopies)
{
    struct Case { int copies; size_t jobs; };
    for (const Case c : {Case{3, 3}, Case{0, 1}, Case{1000000, CFramePipeline::MaxCopies}})
    {
        CTempDir dir;
        Receiver receiver;
        receiver.settings.m_printOut = 1;
        receiver.printSettings.m_printingType = CPrintSettings::TicketA4;
        receiver.printSettings.m_numberOfCopies = c.copies;
        for (PrintLine& line : receiver.printSettings.m_lines)
            line.enabled = 1;
        receiver.view.fields = {"  Ann  ", "SN-1", "batch 7"};
        receiver.Handle("OK;12.3;mm");
        ASSERT_EQ(receiver.view.jobs.size(), c.jobs) << c.copies;
        for (const char* text : {"OK;12.3;mm", "Ann", "SN-1", "batch 7", "05/12/2026 17:56:09"})
            EXPECT_NE(receiver.view.jobs[0].find(text), std::string::npos) << text;
        EXPECT_EQ(receiver.view.jobs[0].find("  Ann"), std::string::npos);
    }
}

TEST(FramePipeline, OperatorLearnsWhenLinesWaitAndWhenTheyAreWritten)
{
    CTempDir dir;
    Receiver receiver;
    BlockFolder(true);
    receiver.Handle("1");
    receiver.Handle("2");
    EXPECT_NE(receiver.result, 0);
    EXPECT_EQ(receiver.view.indicator, 0);
    EXPECT_EQ(receiver.view.list, (std::deque<std::string>{
        "1", "Result lines cannot be written to " + Day + ": 1 line(s) waiting\r\n", "2"}));
    BlockFolder(false);
    receiver.Handle("3");
    EXPECT_EQ(receiver.view.list.back(), "The waiting result lines have been written\r\n");
    EXPECT_EQ(ReadBytes(Day), "1\r\n2\r\n3\r\n");
    EXPECT_EQ(receiver.view.indicator, 1);
}

TEST(FramePipeline, WaitingLinesOutliveARestartOnceEach)
{
    CTempDir dir;
    FileSystem::CreateDir("ErrLog");
    BlockFolder(true);
    {
        Receiver first;
        first.Handle("1");
        first.Handle("2");
        first.pipeline.SaveWaitingLines();
    }
    {
        Receiver stillBlocked;
        stillBlocked.pipeline.RestoreWaitingLines();
        const std::deque<std::string>& list = stillBlocked.view.list;
        EXPECT_NE(std::find(list.begin(), list.end(),
                            "Result lines cannot be written to " + Day + ": 2 line(s) waiting\r\n"), list.end());
        stillBlocked.Handle("3");
        stillBlocked.pipeline.SaveWaitingLines();
    }
    BlockFolder(false);
    for (int run = 0; run < 2; ++run)
    {
        Receiver next;
        next.pipeline.RestoreWaitingLines();
        EXPECT_EQ(ReadBytes(Day), "1\r\n2\r\n3\r\n");
        next.pipeline.SaveWaitingLines();
        const std::string notice =
            "3 result line(s) left waiting at the last exit have been restored from Quorbel.pending";
        EXPECT_EQ(next.view.list, run == 0 ? std::deque<std::string>{notice + "\r\n"} : std::deque<std::string>{});
        EXPECT_FALSE(FileSystem::Exists(Pending));
        EXPECT_NE(ReadBytes(Log).find("17:56:09 " + notice + "\r\n"), std::string::npos);
    }
}

TEST(FramePipeline, DamagedWaitingLinesFileGivesUpOnlyTheDamagedRecords)
{
    CTempDir dir;
    const std::vector<CPendingLines::Line> lines = {
        {"RESULT\\", Day, "first\t%;\x7f"}, {"RESULT\\", Day, "second"},
        {"RESULT\\", Day, "third"}, {"RESULT\\", "..\\elsewhere.TXT", "outside"}};
    ASSERT_TRUE(CWaitingLinesFile(Pending).Save(lines));
    std::string bytes = ReadBytes(Pending);
    bytes[bytes.find("second")] = 'S';
    std::ofstream(Pending, std::ios::binary) << bytes << "RESULT\\\t" << Day << "\tcut";
    Receiver receiver;
    receiver.pipeline.RestoreWaitingLines();
    EXPECT_EQ(ReadBytes(Day), "first\t%;\x7f\r\nthird\r\n");
    EXPECT_EQ(receiver.view.list.back(),
              "2 result line(s) left waiting at the last exit have been restored from "
              "Quorbel.pending; 3 damaged record(s) skipped\r\n");
    EXPECT_FALSE(FileSystem::Exists(Pending));
}
