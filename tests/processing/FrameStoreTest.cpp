#include "processing/FileSystem.h"
#include "processing/FrameStore.h"
#include "processing/ReceiverSettings.h"
#include "tests/processing/TestClock.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace
{
const std::string Results = "RESULT\\";
const std::string Day5 = "RESULT\\2026-12-05.TXT";
const std::string Day6 = "RESULT\\2026-12-06.TXT";

// A frame store in a fresh working directory, with ";" on both sides.
struct Store
{
    explicit Store(size_t pendingBound = CPendingLines::DefaultBound) : store(pendingBound, clock.Source())
    {
        store.SetSeparators(";", ";");
    }
    unsigned Write(const std::string& text, int storeType = CReceiverSettings::SelectedFieldsDate,
                   const std::string& directory = Results)
    {
        return store.WriteResult(directory, ".TXT", text, text, storeType, line);
    }

    CTempDir dir;
    CTestClock clock;
    CFrameStore store;
    std::string line;
};
}

// The same fixed frames and clock must give these bytes on every build.  A
// serial frame's trailing LF heads the next frame; no break inside a line
// may leave anything but CR LF in the file.
TEST(FrameStore, EveryStoreTypeWritesItsLineWithCrLf)
{
    Store s;
    s.store.SetSeparators("\t", ",");
    EXPECT_FALSE(s.store.FileExistsToday(Results, ".TXT"));
    for (int storeType : {1, 3, 7})
        EXPECT_EQ(s.store.WriteResult(Results, ".TXT", "1\t2", "1 , 2 ", storeType, s.line), 0u);
    EXPECT_TRUE(s.store.FileExistsToday(Results, ".TXT"));
    EXPECT_EQ(s.line, "1\t2");
    for (const char* frame : {"\n1;2", "a\rb\r\nc\n"})
        for (int storeType : {0, 1})
            s.store.WriteResult(Results, ".TXT", frame, "", storeType, s.line);

    EXPECT_EQ(ReadBytes(Day5), "05/12/2026 17:56:09 \t1\t2\r\n"
                               "05/12/2026 17:56:09 ,1 , 2 \r\n"
                               "1\t2\r\n"
                               "\r\n1;2\r\n"
                               "05/12/2026 17:56:09 \t\r\n1;2\r\n"
                               "a\r\nb\r\nc\r\n\r\n"
                               "05/12/2026 17:56:09 \ta\r\nb\r\nc\r\n\r\n");
}

// A waiting header counts as the day's file, so it is not written twice; a
// day file that stays unwritable holds back only its own lines, and lines
// that wait for another folder go to the current one.
TEST(FrameStore, LinesThatCannotBeWrittenWaitAndGoToTheirOwnDayInOrder)
{
    Store s;
    BlockFolder(true);
    BlockFolder(true, "OLD");
    EXPECT_FALSE(s.store.FileExistsToday(Results, ".TXT"));
    s.clock.Set(2026, 12, 5, 23, 59, 58);
    EXPECT_EQ(s.Write("Date-Time;P;", 0), 65535u);
    EXPECT_TRUE(s.store.FileExistsToday(Results, ".TXT"));
    EXPECT_FALSE(s.store.FileExistsToday(Results, ".CSV"));
    s.clock.Set(2026, 12, 5, 23, 59, 59);
    EXPECT_EQ(s.Write("old", 0, "OLD\\"), 65535u);
    EXPECT_EQ(s.Write("first"), 65535u);
    EXPECT_EQ(s.line, "05/12/2026 23:59:59 ;first");
    EXPECT_EQ(s.store.PendingCount(), 3u);

    BlockFolder(false);
    // A folder where the day file should be: that file alone cannot be written.
    ASSERT_TRUE(FileSystem::CreateDir(Results) && FileSystem::CreateDir(Day5));
    s.clock.Set(2026, 12, 6, 0, 0, 5);
    EXPECT_EQ(s.Write("third"), 0u);
    EXPECT_EQ(s.store.PendingCount(), 3u);
    EXPECT_EQ(ReadBytes(Day6), "06/12/2026 00:00:05 ;third\r\n");

    BlockFolder(false, Day5);  // removes the folder
    EXPECT_EQ(s.Write("fourth", 0), 0u);
    EXPECT_EQ(ReadBytes(Day5), "Date-Time;P;\r\nold\r\n05/12/2026 23:59:59 ;first\r\n");
    EXPECT_EQ(s.store.PendingCount(), 0u);
    EXPECT_FALSE(FileSystem::Exists("OLD\\2026-12-05.TXT"));
}

// A group's lines count for their file before they are written; each
// file's lines go in one append, and those of a file that cannot be
// written wait, in order, behind none of the others.
TEST(FrameStore, AGroupAppendsEachFileOnceAndOnlyAnUnwritableFilesLinesWait)
{
    Store s;
    ASSERT_TRUE(FileSystem::CreateDir(Results) && FileSystem::CreateDir(Day5));
    s.clock.Set(2026, 12, 5, 23, 59, 59);
    for (const char* text : {"a", "b"})
        EXPECT_EQ(s.store.AddResult(Results, ".TXT", text, text, 0, s.line), text[0] - 'a' + size_t{0});
    s.clock.Set(2026, 12, 6, 0, 0, 0);
    EXPECT_FALSE(s.store.FileExistsToday(Results, ".TXT"));
    for (const char* text : {"c", "d"})
        s.store.AddResult(Results, ".TXT", text, text, 0, s.line);
    EXPECT_TRUE(s.store.FileExistsToday(Results, ".TXT"));
    EXPECT_EQ(s.store.CommitGroup(), (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(ReadBytes(Day6), "c\r\nd\r\n");
    EXPECT_EQ(s.store.PendingCount(), 2u);
    EXPECT_TRUE(s.store.CommitGroup().empty());

    BlockFolder(false, Day5);
    s.clock.Set(2026, 12, 5, 23, 59, 59);
    EXPECT_EQ(s.Write("e", 0), 0u);
    EXPECT_EQ(ReadBytes(Day5), "a\r\nb\r\ne\r\n");
}

TEST(FrameStore, AFullQueueDropsTheOldestLinesAndLogsHowMany)
{
    Store s(3);
    ASSERT_TRUE(FileSystem::CreateDir("ErrLog"));
    BlockFolder(true);
    EXPECT_EQ(s.Write("L1", 0), 65535u);
    s.clock.Set(2026, 12, 6, 9, 0, 0);
    EXPECT_EQ(s.Write("L2", 0), 65535u);
    s.clock.Set(2026, 12, 5, 23, 0, 0);
    for (const char* text : {"L3", "L4", "L5"})
        EXPECT_EQ(s.Write(text, 0), 65535u);
    EXPECT_EQ(s.store.PendingCount(), 3u);
    const std::string dropped = " unwritten result line(s) dropped, oldest first: the queue is full\r\n";
    EXPECT_EQ(ReadBytes("ErrLog\\2026-12-05.LOG"),
              "05/12/2026 23:00:00 1" + dropped + "05/12/2026 23:00:00 2" + dropped);

    BlockFolder(false);
    EXPECT_EQ(s.Write("L6", 0), 0u);
    EXPECT_EQ(ReadBytes(Day5), "L3\r\nL4\r\nL5\r\nL6\r\n");
    EXPECT_FALSE(FileSystem::Exists(Day6));
}
