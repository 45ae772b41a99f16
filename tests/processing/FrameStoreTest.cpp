#include "processing/FileSystem.h"
#include "processing/FrameStore.h"
#include "processing/ReceiverSettings.h"
#include "tests/processing/TestClock.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
const std::string Results = "RESULT\\";
const std::string Day5 = "RESULT\\2026-12-05.TXT";
const std::string Day6 = "RESULT\\2026-12-06.TXT";

// A frame store in a fresh working directory, with the given fields
// selected in store type 2 and ";" on both sides.
struct Store
{
    explicit Store(const std::vector<int>& fields = {}, size_t pendingBound = CPendingLines::DefaultBound)
        : store(pendingBound, clock.Source())
    {
        settings.m_storeType = CReceiverSettings::SelectedFields;
        for (int i : fields)
            settings.SetFieldInUse(i, 1);
        store.SetSeparators(";", ";");
    }
    std::string Select(const std::string& frame, const std::string& input = ";", const std::string& output = ";")
    {
        store.SetSeparators(input, output);
        selected = "untouched";
        result = store.SelectFields(frame, selected, settings);
        return selected;
    }
    unsigned Write(const std::string& text, int storeType = CReceiverSettings::SelectedFieldsDate,
                   const std::string& directory = Results)
    {
        return store.WriteResult(directory, ".TXT", text, text, storeType, line);
    }

    CTempDir dir;
    CTestClock clock;
    CReceiverSettings settings;
    CFrameStore store;
    std::string selected, line;
    unsigned result = 0;
};
}

// A frame needs three fields; selected fields are joined with blanks around
// the separator, missing ones are absent and long ones copied whole.
TEST(FrameStore, SelectsTheFieldsOfAFrame)
{
    struct Case { std::vector<int> fields; std::string frame, input, output, selected; unsigned result; };
    const std::string longField(3000, 'L');
    std::string frame25 = "f0";
    for (int i = 1; i < 25; ++i)
        frame25 += ";f" + std::to_string(i);
    const Case cases[] = {
        {{0}, "A;B;C", ";", ";", "A ", 0},
        {{0}, "A;B", ";", ";", "A ", 65535},
        {{0}, "", ";", ";", "untouched", 65535},
        {{0}, ";;", ";", ";", "", 65535},
        {{0}, ";;;", ";", ";", "", 0},
        {{0, 2}, "1;2;3;4", ";", ",", "1 , 3 ", 0},
        {{0, 2}, "1;2;3", ";", "\t", "1 \t 3", 0},
        {{0, 2}, "1;2;3", ";", " ", "1   3", 0},
        {{0, 2}, "1;2;3", ";", ";", "1 ; 3 ", 0},
        {{0, 2}, "A ;  B;C x", ";", ";", "A  ; C x ", 0},
        {{0, 2}, "\" x\";B;\"y;\"", ";", ";", "x ; y; ", 0},
        {{0, 2}, "1\t2\t3", "\t", ";", "1 ; 3 ", 0},
        {{0, 2}, "1 2 3", " ", ";", "1 ; 3 ", 0},
        {{0, 5}, "1;2;3;4", ";", ";", "1 ", 0},
        {{19, 20, 24}, frame25, ";", ";", "f19 ", 0},
        {{}, "1;2;3", ";", ";", "", 0},
        {{1, 2}, "a;" + longField + ";" + longField, ";", ";", longField + " ; " + longField + " ", 0},
    };
    for (const Case& c : cases)
    {
        Store store(c.fields);
        EXPECT_EQ(store.Select(c.frame, c.input, c.output), c.selected) << c.frame;
        EXPECT_EQ(store.result, c.result) << c.frame;
    }
    Store other({0});
    for (int storeType : {0, 1, 4, -1})
    {
        other.settings.m_storeType = storeType;
        EXPECT_EQ(other.Select("A;B;C"), "untouched");
        EXPECT_EQ(other.result, 0u);
    }
}

// The same fixed frames and clock must give these bytes on every build.
TEST(FrameStore, EveryStoreTypeWritesItsLineWithCrLf)
{
    Store s({0, 2});
    s.settings.SetFieldName(0, "P");
    s.settings.SetFieldName(2, "R");
    s.settings.m_storeType = CReceiverSettings::SelectedFieldsDate;
    std::string header, selected;
    EXPECT_FALSE(s.store.FileExistsToday(Results, ".TXT"));
    s.settings.BuildHeader(header, true);
    EXPECT_EQ(s.Write(header, 0), 0u);
    EXPECT_TRUE(s.store.FileExistsToday(Results, ".TXT"));
    ASSERT_EQ(s.store.SelectFields("1;2;3", selected, s.settings), 0u);
    for (int storeType : {0, 1, 2, 3, 7})
        EXPECT_EQ(s.store.WriteResult(Results, ".TXT", "1;2;3", selected, storeType, s.line), 0u);
    s.store.SetSeparators("\t", "\t");
    ASSERT_EQ(s.store.SelectFields("1\t2\t3", selected, s.settings), 0u);
    s.store.WriteResult(Results, ".TXT", "1\t2\t3", selected, 1, s.line);
    s.store.WriteResult(Results, ".TXT", "1\t2\t3", selected, 3, s.line);
    EXPECT_EQ(s.line, "05/12/2026 17:56:09 \t1 \t 3");
    // A serial frame's trailing LF heads the next frame; no break inside a
    // line may leave anything but CR LF in the file.
    for (const char* frame : {"\n1;2", "a\rb\r\nc\n"})
        for (int storeType : {0, 1})
            s.store.WriteResult(Results, ".TXT", frame, selected, storeType, s.line);

    EXPECT_EQ(ReadBytes(Day5), "Date-Time;P;R;\r\n"
                               "1;2;3\r\n"
                               "05/12/2026 17:56:09 ;1;2;3\r\n"
                               "1 ; 3 \r\n"
                               "05/12/2026 17:56:09 ;1 ; 3 \r\n"
                               "1;2;3\r\n"
                               "05/12/2026 17:56:09 \t1\t2\t3\r\n"
                               "05/12/2026 17:56:09 \t1 \t 3\r\n"
                               "\r\n1;2\r\n"
                               "05/12/2026 17:56:09 \t\r\n1;2\r\n"
                               "a\r\nb\r\nc\r\n\r\n"
                               "05/12/2026 17:56:09 \ta\r\nb\r\nc\r\n\r\n");
}

// The extension names the file, midnight starts a new one, and a results
// folder removed while running is created again.
TEST(FrameStore, EachDayHasItsFileWhichComesBackWhenRemoved)
{
    Store s;
    s.clock.Set(2026, 12, 5, 23, 59, 59);
    s.store.WriteResult(Results, ".CSV", "A;B;C", "", 1, s.line);
    s.clock.Set(2026, 12, 6, 0, 0, 1);
    s.store.WriteResult(Results, ".CSV", "D;E;F", "", 1, s.line);
    EXPECT_EQ(ReadBytes("RESULT\\2026-12-05.CSV"), "05/12/2026 23:59:59 ;A;B;C\r\n");
    EXPECT_EQ(ReadBytes("RESULT\\2026-12-06.CSV"), "06/12/2026 00:00:01 ;D;E;F\r\n");
    EXPECT_FALSE(FileSystem::Exists(Day5));

    BlockFolder(false);
    EXPECT_EQ(s.Write("4 ; 6 "), 0u);
    EXPECT_EQ(ReadBytes(Day6), "06/12/2026 00:00:01 ;4 ; 6 \r\n");
}

// A waiting header counts as the day's file, so it is not written twice.
TEST(FrameStore, LinesThatCannotBeWrittenWaitAndGoToTheirOwnDayInOrder)
{
    Store s;
    BlockFolder(true);
    EXPECT_FALSE(s.store.FileExistsToday(Results, ".TXT"));
    s.clock.Set(2026, 12, 5, 23, 59, 58);
    EXPECT_EQ(s.Write("Date-Time;P;", 0), 65535u);
    EXPECT_TRUE(s.store.FileExistsToday(Results, ".TXT"));
    EXPECT_FALSE(s.store.FileExistsToday(Results, ".CSV"));
    s.clock.Set(2026, 12, 5, 23, 59, 59);
    EXPECT_EQ(s.Write("first"), 65535u);
    EXPECT_EQ(s.line, "05/12/2026 23:59:59 ;first");
    EXPECT_EQ(s.store.PendingCount(), 2u);

    BlockFolder(false);
    EXPECT_TRUE(s.store.FileExistsToday(Results, ".TXT"));
    s.clock.Set(2026, 12, 6, 0, 0, 5);
    EXPECT_EQ(s.Write("third"), 0u);
    EXPECT_EQ(s.store.PendingCount(), 0u);
    EXPECT_EQ(ReadBytes(Day5), "Date-Time;P;\r\n05/12/2026 23:59:59 ;first\r\n");
    EXPECT_EQ(ReadBytes(Day6), "06/12/2026 00:00:05 ;third\r\n");
}

TEST(FrameStore, AFolderThatStaysUnwritableHoldsBackOnlyItsOwnLines)
{
    Store s;
    BlockFolder(true, "OLD");
    EXPECT_EQ(s.Write("old", 0, "OLD\\"), 65535u);
    EXPECT_EQ(s.Write("new", 0), 0u);
    EXPECT_EQ(ReadBytes(Day5), "new\r\n");
    EXPECT_TRUE(s.store.FileExistsToday("OLD\\", ".TXT"));

    BlockFolder(false, "OLD");
    EXPECT_EQ(s.Write("newer", 0), 0u);
    EXPECT_EQ(ReadBytes("OLD\\2026-12-05.TXT"), "old\r\n");
    EXPECT_EQ(ReadBytes(Day5), "new\r\nnewer\r\n");
    EXPECT_EQ(s.store.PendingCount(), 0u);
}

TEST(FrameStore, AFullQueueDropsTheOldestLinesAndLogsHowMany)
{
    Store s({}, 3);
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
