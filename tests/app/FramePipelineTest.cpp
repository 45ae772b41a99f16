#include "app/FramePipeline.h"
#include "printing/PrintSettings.h"
#include "printing/TicketPrinter.h"
#include "processing/FrameStore.h"
#include "processing/ReceiverSettings.h"
#include "tests/processing/TestClock.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <filesystem>
#include <thread>
#include <gtest/gtest.h>
#include <vector>

using namespace std::string_literals;

namespace
{
const std::string Day = "RESULT\\2026-12-05.TXT";
const std::string Log = "ErrLog\\2026-12-05.LOG";
const std::string Pending = "Quorbel.pending";

// The window: told of updates, it takes them at once, as the real one
// does when its posted task runs.
struct FakeView : IFrameView
{
    void UpdatesWaiting() override { ++told; }
    void PrintJobFile(const std::string& fileName) override { jobs.push_back(ReadBytes(fileName)); }

    void TakeUpdates(CFramePipeline& pipeline)
    {
        CViewUpdates::Batch batch = pipeline.Updates().Take();
        list.insert(list.end(), batch.listLines.begin(), batch.listLines.end());
        if (batch.storedLineChanged)
            stored = batch.storedLine;
        indicator += batch.indicator;
        PrintRecord printout;
        while (pipeline.Updates().TakePrintout(printout))
            pipeline.Print(printout);
    }

    int told = 0;
    std::deque<std::string> list;
    std::string stored;
    int indicator = 0;
    std::vector<std::string> jobs;
};

// One run of the receiver in the current working directory.
struct Receiver
{
    void Handle(std::string frame)
    {
        result = pipeline.HandleFrame(frame);
        view.TakeUpdates(pipeline);
    }

    void Restore()
    {
        pipeline.RestoreWaitingLines();
        view.TakeUpdates(pipeline);
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

TEST(FramePipeline, CounterWrapsAfter99999)
{
    CTempDir dir;
    Receiver receiver;
    receiver.pipeline.SetFrameCounter(99998);
    receiver.Handle("F");
    EXPECT_EQ(receiver.pipeline.FrameCounter(), 99999);
    receiver.Handle("F");
    EXPECT_EQ(receiver.pipeline.FrameCounter(), 0);
    receiver.pipeline.ResetFrameCounter();
    receiver.Handle("F");
    EXPECT_EQ(receiver.pipeline.FrameCounter(), 1);
}

// Frames lose what a NUL hides, trailing blanks and leading STX, and show
// tabs as blanks.  A frame with too few fields is shown, but in the
// selected-fields types neither counted nor written.
TEST(FramePipeline, OnlyTheSelectedFieldsTypesOpenADayFileWithAHeaderAndNeedThreeFields)
{
    struct Case { int storeType; std::vector<std::string> lines; std::string stored; int counted; };
    const std::string date = "05/12/2026 17:56:09 ;", error = "Erreur de format !!!";
    const Case cases[] = {
        {CReceiverSettings::OriginalFrame, {" 1;2;3", "4;5;6", "A\tB"}, "A B", 3},
        {CReceiverSettings::OriginalFrameDate, {date + " 1;2;3", date + "4;5;6", date + "A\tB"}, date + "A B", 3},
        {CReceiverSettings::SelectedFieldsDate, {"Date-Time;P;R;", date + "1 ; 3 ", date + "4 ; 6 "}, error, 2},
        {CReceiverSettings::SelectedFields, {"P;R;", "1 ; 3 ", "4 ; 6 "}, error, 2},
    };
    for (const Case& c : cases)
    {
        CTempDir dir;
        Receiver receiver;
        receiver.settings.m_storeType = c.storeType;
        receiver.settings.SetFieldInUse(0, 1);
        receiver.settings.SetFieldInUse(2, 1);
        receiver.settings.SetFieldName(0, "P");
        receiver.settings.SetFieldName(2, "R");
        CFramePipeline::Notices notices;
        notices.formatError = error;
        receiver.pipeline.SetNotices(notices);
        for (const std::string& frame : {"\x02 1;2;3 \t\r\n"s, "4;5;6\0;7"s, "A\tB"s})
            receiver.Handle(frame);
        std::string expected;
        for (const std::string& line : c.lines)
            expected += line + "\r\n";
        EXPECT_EQ(ReadBytes(Day), expected) << "store type " << c.storeType;
        EXPECT_EQ(receiver.view.stored, c.stored);
        EXPECT_EQ(receiver.view.list, (std::deque<std::string>{" 1;2;3", "4;5;6", "A B"}));
        EXPECT_EQ(receiver.result == 0, c.counted == 3);
        EXPECT_EQ(receiver.pipeline.FrameCounter(), c.counted);
        EXPECT_EQ(receiver.view.indicator, c.counted);
    }
}

// A day file that goes within a second of its header gets no second
// header (the guard); one that goes later does.
TEST(FramePipeline, TheHeaderOfANewFileIsGuardedForASecond)
{
    CTempDir dir;
    Receiver receiver;
    receiver.settings.m_storeType = CReceiverSettings::SelectedFields;
    receiver.settings.SetFieldInUse(0, 1);
    receiver.Handle("1;2;3");
    for (const auto& [pauseMs, expected] : {std::pair<int, const char*>{0, "1 \r\n"}, {1100, "Name_0;\r\n1 \r\n"}})
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        std::filesystem::remove(FileSystem::HostPath(Day));
        receiver.Handle("1;2;3");
        EXPECT_EQ(ReadBytes(Day), expected) << pauseMs;
    }
}

// A window that falls behind is told once and then gets the newest lines
// it can show, the group's frames in one batch with one lamp.
TEST(FramePipeline, AWindowBehindIsToldOnceAndGetsTheNewest10001Lines)
{
    CTempDir dir;
    Receiver receiver;
    std::vector<std::string> frames;
    for (int i = 0; i < 10005; ++i)
        frames.push_back(std::to_string(i));
    EXPECT_EQ(receiver.pipeline.HandleFrames(frames), std::vector<int>(frames.size(), 0));
    receiver.pipeline.AddToFrameList("link line");
    EXPECT_EQ(receiver.view.told, 1);
    receiver.view.TakeUpdates(receiver.pipeline);
    EXPECT_EQ(receiver.view.list.size(), 10001u);
    EXPECT_EQ(receiver.view.list.front(), "5");
    EXPECT_EQ(receiver.view.list.back(), "link line");
    EXPECT_EQ(receiver.view.stored, "10004");
    EXPECT_EQ(receiver.view.indicator, 1);
    EXPECT_EQ(ReadBytes(Day).size(), 10 * 3 + 90 * 4 + 900 * 5 + 9000 * 6 + 5 * 7u);
}

// The printout shows the entries as they were when its frame was stored,
// and a printer that falls behind skips printouts, which the list tells
// once when it takes one again.
TEST(FramePipeline, PrintsTheEntriesOfTheMomentOfStoringAndTellsOfSkippedPrintouts)
{
    CTempDir dir;
    Receiver receiver;
    receiver.settings.m_printOut = 1;
    receiver.printSettings.m_printingType = CPrintSettings::TicketA4;
    receiver.printSettings.m_numberOfCopies = 1000000;
    for (PrintLine& line : receiver.printSettings.m_lines)
        line.enabled = 1;
    receiver.pipeline.SetPrintFields({"  Ann  ", "SN-1", "batch 7"});
    std::string frame = "OK;12.3;mm";
    receiver.pipeline.HandleFrame(frame);
    receiver.pipeline.SetPrintFields({"Bob", "SN-2", ""});
    receiver.view.TakeUpdates(receiver.pipeline);
    ASSERT_EQ(receiver.view.jobs.size(), size_t{CFramePipeline::MaxCopies});
    EXPECT_EQ(receiver.view.jobs[0], "SN-1\r\nAnn\r\n05/12/2026 17:56:09\r\nbatch 7\r\nOK;12.3;mm\r\n");

    receiver.printSettings.m_numberOfCopies = 1;
    std::vector<std::string> frames(CFramePipeline::PrintoutLimit + 3, "F");
    receiver.pipeline.HandleFrames(frames);
    receiver.view.TakeUpdates(receiver.pipeline);
    receiver.Handle("last");
    EXPECT_EQ(receiver.view.jobs.size(), CFramePipeline::MaxCopies + CFramePipeline::PrintoutLimit + 1);
    const std::string notice = "3 printout(s) skipped: the printer could not keep up\r\n";
    EXPECT_EQ(std::count(receiver.view.list.begin(), receiver.view.list.end(), notice), 1);
    EXPECT_EQ(receiver.view.list.back(), notice);
    // Those the printer never took at exit are counted in the error log.
    FileSystem::CreateDir("ErrLog");
    receiver.pipeline.HandleFrames(frames);
    receiver.pipeline.DropWaitingPrintouts();
    EXPECT_NE(ReadBytes(Log).find("500 printout(s) not printed: the program was closed"), std::string::npos);
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

// A waiting line is in Quorbel.pending from the moment it waits, so a
// crash (no SaveWaitingLines) loses nothing, and the file keeps it until it
// is in its day file; no line comes back twice.
TEST(FramePipeline, WaitingLinesOutliveACrashAndARestartOnceEach)
{
    CTempDir dir;
    FileSystem::CreateDir("ErrLog");
    BlockFolder(true);
    {
        Receiver crashed;
        crashed.Handle("1");
        crashed.Handle("2");
        EXPECT_EQ(ReadBytes(Pending).size(), 2 * ReadBytes(Pending).find('\n') + 2);
    }
    {
        Receiver stillBlocked;
        stillBlocked.Restore();
        const std::deque<std::string>& list = stillBlocked.view.list;
        EXPECT_NE(std::find(list.begin(), list.end(),
                            "Result lines cannot be written to " + Day + ": 2 line(s) waiting\r\n"), list.end());
        stillBlocked.Handle("3");
    }
    BlockFolder(false);
    for (int run = 0; run < 2; ++run)
    {
        Receiver next;
        next.Restore();
        EXPECT_EQ(ReadBytes(Day), "1\r\n2\r\n3\r\n");
        EXPECT_FALSE(FileSystem::Exists(Pending));
        next.pipeline.SaveWaitingLines();
        const std::string notice =
            "3 result line(s) left waiting at the last exit have been restored from Quorbel.pending";
        EXPECT_EQ(next.view.list, run == 0 ? std::deque<std::string>{notice + "\r\n"} : std::deque<std::string>{});
        EXPECT_NE(ReadBytes(Log).find("17:56:09 " + notice + "\r\n"), std::string::npos);
    }
}

// Lines that wait for a folder a technician has since corrected go to the
// corrected one (their header too, which then counts for the file), before
// the new line, which lights the lamp.
TEST(FramePipeline, WaitingLinesFollowACorrectedResultsFolder)
{
    CTempDir dir;
    BlockFolder(true);
    Receiver receiver;
    receiver.settings.m_storeType = CReceiverSettings::SelectedFields;
    receiver.settings.SetFieldInUse(0, 1);
    receiver.Handle("1;2;3");
    receiver.settings.SetDirectory("FIXED\\");
    receiver.Handle("4;5;6");
    EXPECT_EQ(receiver.result, 0);
    EXPECT_EQ(receiver.view.indicator, 1);
    EXPECT_EQ(ReadBytes("FIXED\\2026-12-05.TXT"), "Name_0;\r\n1 \r\n4 \r\n");
    EXPECT_FALSE(FileSystem::Exists(Pending));
}

// Kept lines that cannot be taken back stay in their file for good: later
// waiting lines never rewrite or remove it.
TEST(FramePipeline, KeptLinesThatCannotBeTakenBackAreLeftInTheirFile)
{
    CTempDir dir;
    ASSERT_TRUE(CWaitingLinesFile(Pending).Save({{"RESULT\\", Day, "kept"}}));
    const std::string kept = ReadBytes(Pending) + "damaged\r\n";
    std::ofstream(Pending, std::ios::binary) << kept;
    ASSERT_TRUE(FileSystem::CreateDir(Pending + ".damaged"));
    Receiver receiver;
    receiver.Restore();
    EXPECT_EQ(receiver.view.list.back(),
              "1 result line(s) left waiting at the last exit stay in Quorbel.pending, which cannot be rewritten\r\n");
    BlockFolder(true);
    receiver.Handle("waits");
    BlockFolder(false);
    receiver.Handle("written");
    EXPECT_EQ(ReadBytes(Day), "waits\r\nwritten\r\n");
    EXPECT_EQ(ReadBytes(Pending), kept);
}

// Damaged records are kept byte for byte beside the file, never lost.
TEST(FramePipeline, DamagedWaitingLinesFileGivesUpOnlyTheDamagedRecords)
{
    CTempDir dir;
    const std::vector<CPendingLines::Line> lines = {
        {"RESULT\\", Day, "first\t%;\x7f"}, {"RESULT\\", Day, "second"},
        {"RESULT\\", Day, "third"}, {"RESULT\\", "..\\elsewhere.TXT", "outside"}};
    ASSERT_TRUE(CWaitingLinesFile(Pending).Save(lines));
    std::string bytes = ReadBytes(Pending);
    bytes[bytes.find("second")] = 'S';
    const std::string cut = "RESULT\\\t" + Day + "\tcut";
    std::ofstream(Pending, std::ios::binary) << bytes << cut;
    Receiver receiver;
    receiver.Restore();
    EXPECT_EQ(ReadBytes(Day), "first\t%;\x7f\r\nthird\r\n");
    EXPECT_EQ(receiver.view.list.back(),
              "2 result line(s) left waiting at the last exit have been restored from "
              "Quorbel.pending; 3 damaged record(s) kept in Quorbel.pending.damaged\r\n");
    EXPECT_FALSE(FileSystem::Exists(Pending));
    const size_t second = bytes.find("RESULT\\\tRESULT\\2026-12-05.TXT\tSecond");
    const size_t outside = bytes.find("RESULT\\\t..");
    EXPECT_EQ(ReadBytes(Pending + ".damaged"),
              bytes.substr(second, bytes.find('\n', second) + 1 - second) + bytes.substr(outside) + cut);
}
