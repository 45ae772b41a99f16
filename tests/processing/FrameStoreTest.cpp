#include "processing/FileSystem.h"
#include "processing/FrameStore.h"
#include "processing/ReceiverSettings.h"
#include "tests/processing/TestClock.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <vector>

namespace stdfs = std::filesystem;

namespace
{
const std::string Results = "RESULT\\";
const std::string Day5 = "RESULT\\2026-12-05.TXT";
const std::string Day6 = "RESULT\\2026-12-06.TXT";

// Settings read from an empty working directory, with the given fields
// selected in store type 2.
struct SelectedFields
{
    explicit SelectedFields(std::initializer_list<int> fields)
    {
        settings.m_storeType = CReceiverSettings::SelectedFields;
        for (int i : fields)
            settings.SetFieldInUse(i, 1);
    }
    std::string Select(const std::string& frame, const std::string& input = ";",
                       const std::string& output = ";")
    {
        store.SetSeparators(input, output);
        selected = "untouched";
        result = store.SelectFields(frame, selected, settings);
        return selected;
    }

    CTempDir dir;
    CReceiverSettings settings;
    CFrameStore store;
    std::string selected;
    unsigned result = 0;
};

// A plain file where a results folder should be: the folder can then be
// neither created nor written into until the file goes.
void BlockResultsFolder(const std::string& name = "RESULT")
{
    stdfs::remove_all(FileSystem::HostPath(name));
    std::ofstream(FileSystem::HostPath(name)) << "in the way";
}

void UnblockResultsFolder(const std::string& name = "RESULT")
{
    stdfs::remove(FileSystem::HostPath(name));
}

// One frame through the frame store in store type 3, with ";" on both sides.
struct Writer
{
    explicit Writer(size_t pendingBound = CPendingLines::DefaultBound)
        : store(pendingBound, clock.Source())
    {
        store.SetSeparators(";", ";");
    }
    unsigned Write(const std::string& selected, int storeType = CReceiverSettings::SelectedFieldsDate)
    {
        return store.WriteResult(Results, ".TXT", selected, selected, storeType, line);
    }

    CTempDir dir;
    CTestClock clock;
    CFrameStore store;
    std::string line;
};
}

TEST(FrameStore, AFrameNeedsThreeFieldsAndOnlySelectedFieldsTypesRebuildTheSelection)
{
    SelectedFields fields{0};
    EXPECT_EQ(fields.Select("A;B;C"), "A ");
    EXPECT_EQ(fields.result, 0u);
    for (const char* tooFew : {"A;B", "", ";;"})
    {
        fields.Select(tooFew);
        EXPECT_EQ(fields.result, 65535u) << tooFew;
    }
    fields.Select(";;;");
    EXPECT_EQ(fields.result, 0u);
    for (int storeType : {0, 1, 4, -1})
    {
        fields.settings.m_storeType = storeType;
        EXPECT_EQ(fields.Select("A;B;C"), "untouched");
        EXPECT_EQ(fields.result, 0u);
    }
}

TEST(FrameStore, SelectedFieldsAreJoinedWithBlanksAroundTheSeparator)
{
    SelectedFields fields{0, 2};
    EXPECT_EQ(fields.Select("1;2;3;4", ";", ","), "1 , 3 ");
    EXPECT_EQ(fields.Select("1;2;3", ";", "\t"), "1 \t 3");
    EXPECT_EQ(fields.Select("1;2;3", ";", " "), "1   3");
    EXPECT_EQ(fields.Select("1;2;3", ";", ";"), "1 ; 3 ");
    EXPECT_EQ(fields.Select("A ;  B;C x", ";", ";"), "A  ; C x ");
    EXPECT_EQ(fields.Select("\" x\";B;\"y;\"", ";", ";"), "x ; y; ");
    EXPECT_EQ(fields.Select("1\t2\t3", "\t", ";"), "1 ; 3 ");
    EXPECT_EQ(fields.Select("1 2 3", " ", ";"), "1 ; 3 ");
}

TEST(FrameStore, MissingFieldsAreSimplyAbsentAndLongOnesSelectedWhole)
{
    SelectedFields fields{0, 5};
    EXPECT_EQ(fields.Select("1;2;3;4"), "1 ");
    EXPECT_EQ(fields.result, 0u);

    SelectedFields last{19, 20, 24};
    std::string frame = "f0";
    for (int i = 1; i < 25; ++i)
        frame += ";f" + std::to_string(i);
    EXPECT_EQ(last.Select(frame), "f19 ");

    SelectedFields none{};
    EXPECT_EQ(none.Select("1;2;3"), "");
    EXPECT_EQ(none.result, 0u);

    SelectedFields longFields{1, 2};
    const std::string longField(3000, 'L');
    EXPECT_EQ(longFields.Select("a;" + longField + ";" + longField), longField + " ; " + longField + " ");
}

// The same fixed frames and clock must give these bytes on every build.
TEST(FrameStore, EveryStoreTypeWritesItsLineWithCrLf)
{
    CTempDir dir;
    CTestClock clock;
    CReceiverSettings settings;
    settings.SetFieldInUse(0, 1);
    settings.SetFieldInUse(2, 1);
    settings.SetFieldName(0, "P");
    settings.SetFieldName(2, "R");
    settings.m_storeType = CReceiverSettings::SelectedFieldsDate;
    CFrameStore store(CPendingLines::DefaultBound, clock.Source());
    std::string header, selected, line;

    store.SetSeparators(";", ";");
    EXPECT_FALSE(store.FileExistsToday(Results, ".TXT"));
    settings.BuildHeader(header, true);
    EXPECT_EQ(store.WriteResult(Results, ".TXT", header, "", 0, line), 0u);
    EXPECT_TRUE(store.FileExistsToday(Results, ".TXT"));
    ASSERT_EQ(store.SelectFields("1;2;3", selected, settings), 0u);
    std::vector<std::string> lines;
    for (int storeType : {0, 1, 2, 3, 7})
    {
        EXPECT_EQ(store.WriteResult(Results, ".TXT", "1;2;3", selected, storeType, line), 0u);
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"1;2;3", "05/12/2026 17:56:09 ;1;2;3", "1 ; 3 ",
                                                "05/12/2026 17:56:09 ;1 ; 3 ", "1;2;3"}));
    store.SetSeparators("\t", "\t");
    ASSERT_EQ(store.SelectFields("1\t2\t3", selected, settings), 0u);
    store.WriteResult(Results, ".TXT", "1\t2\t3", selected, 1, line);
    store.WriteResult(Results, ".TXT", "1\t2\t3", selected, 3, line);
    EXPECT_EQ(line, "05/12/2026 17:56:09 \t1 \t 3");
    // A serial frame's trailing LF heads the next frame; no break inside a
    // line may leave anything but CR LF in the file.
    for (const char* frame : {"\n1;2", "a\rb\r\nc\n"})
        for (int storeType : {0, 1})
            store.WriteResult(Results, ".TXT", frame, selected, storeType, line);

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

TEST(FrameStore, TheExtensionNamesTheFileAndMidnightStartsANewOne)
{
    Writer writer;
    writer.clock.Set(2026, 12, 5, 23, 59, 59);
    writer.store.WriteResult(Results, ".CSV", "A;B;C", "", 1, writer.line);
    writer.clock.Set(2026, 12, 6, 0, 0, 1);
    writer.store.WriteResult(Results, ".CSV", "D;E;F", "", 1, writer.line);

    EXPECT_EQ(ReadBytes("RESULT\\2026-12-05.CSV"), "05/12/2026 23:59:59 ;A;B;C\r\n");
    EXPECT_EQ(ReadBytes("RESULT\\2026-12-06.CSV"), "06/12/2026 00:00:01 ;D;E;F\r\n");
    EXPECT_FALSE(FileSystem::Exists(Day5));
}

TEST(FrameStore, AResultsFolderRemovedWhileRunningIsCreatedAgain)
{
    Writer writer;
    ASSERT_EQ(writer.Write("1 ; 3 "), 0u);
    stdfs::remove_all(FileSystem::HostPath("RESULT"));

    EXPECT_EQ(writer.Write("4 ; 6 "), 0u);
    EXPECT_EQ(writer.line, "05/12/2026 17:56:09 ;4 ; 6 ");
    EXPECT_EQ(ReadBytes(Day5), "05/12/2026 17:56:09 ;4 ; 6 \r\n");
}

TEST(FrameStore, LinesThatCannotBeWrittenWaitAndGoToTheirOwnDayInOrder)
{
    Writer writer;
    BlockResultsFolder();
    writer.clock.Set(2026, 12, 5, 23, 59, 58);
    EXPECT_EQ(writer.Write("first"), 65535u);
    EXPECT_EQ(writer.line, "05/12/2026 23:59:58 ;first");
    writer.clock.Set(2026, 12, 5, 23, 59, 59);
    EXPECT_EQ(writer.Write("second", 0), 65535u);
    EXPECT_EQ(writer.line, "second");
    EXPECT_EQ(writer.store.PendingCount(), 2u);

    UnblockResultsFolder();
    writer.clock.Set(2026, 12, 6, 0, 0, 5);
    EXPECT_EQ(writer.Write("third"), 0u);
    EXPECT_EQ(writer.store.PendingCount(), 0u);
    EXPECT_EQ(ReadBytes(Day5), "05/12/2026 23:59:58 ;first\r\nsecond\r\n");
    EXPECT_EQ(ReadBytes(Day6), "06/12/2026 00:00:05 ;third\r\n");
}

TEST(FrameStore, AFolderThatStaysUnwritableHoldsBackOnlyItsOwnLines)
{
    Writer writer;
    BlockResultsFolder("OLD");
    EXPECT_EQ(writer.store.WriteResult("OLD\\", ".TXT", "old", "", 0, writer.line), 65535u);
    EXPECT_EQ(writer.Write("new", 0), 0u);
    EXPECT_EQ(ReadBytes(Day5), "new\r\n");
    EXPECT_TRUE(writer.store.FileExistsToday("OLD\\", ".TXT"));

    UnblockResultsFolder("OLD");
    EXPECT_EQ(writer.Write("newer", 0), 0u);
    EXPECT_EQ(ReadBytes("OLD\\2026-12-05.TXT"), "old\r\n");
    EXPECT_EQ(ReadBytes(Day5), "new\r\nnewer\r\n");
    EXPECT_EQ(writer.store.PendingCount(), 0u);
}

TEST(FrameStore, AWaitingHeaderCountsAsTheDaysFile)
{
    Writer writer;
    BlockResultsFolder();
    EXPECT_FALSE(writer.store.FileExistsToday(Results, ".TXT"));
    writer.Write("Date-Time;P;", 0);
    EXPECT_TRUE(writer.store.FileExistsToday(Results, ".TXT"));
    EXPECT_FALSE(writer.store.FileExistsToday(Results, ".CSV"));
    writer.Write("1 ");

    UnblockResultsFolder();
    EXPECT_FALSE(writer.store.FileExistsToday(Results, ".CSV"));
    EXPECT_TRUE(writer.store.FileExistsToday(Results, ".TXT"));
    writer.Write("2 ");
    EXPECT_EQ(ReadBytes(Day5), "Date-Time;P;\r\n"
                               "05/12/2026 17:56:09 ;1 \r\n"
                               "05/12/2026 17:56:09 ;2 \r\n");
}

TEST(FrameStore, AFullQueueDropsTheOldestLinesAndLogsHowMany)
{
    Writer writer(3);
    ASSERT_TRUE(FileSystem::CreateDir("ErrLog"));
    BlockResultsFolder();
    EXPECT_EQ(writer.Write("L1", 0), 65535u);
    writer.clock.Set(2026, 12, 6, 9, 0, 0);
    EXPECT_EQ(writer.Write("L2", 0), 65535u);
    writer.clock.Set(2026, 12, 5, 23, 0, 0);
    for (const char* text : {"L3", "L4", "L5"})
        EXPECT_EQ(writer.Write(text, 0), 65535u);
    EXPECT_EQ(writer.store.PendingCount(), 3u);
    EXPECT_EQ(ReadBytes("ErrLog\\2026-12-05.LOG"),
              "05/12/2026 23:00:00 1 unwritten result line(s) dropped, oldest first: the queue is full\r\n"
              "05/12/2026 23:00:00 2 unwritten result line(s) dropped, oldest first: the queue is full\r\n");

    UnblockResultsFolder();
    EXPECT_EQ(writer.Write("L6", 0), 0u);
    EXPECT_EQ(ReadBytes(Day5), "L3\r\nL4\r\nL5\r\nL6\r\n");
    EXPECT_FALSE(FileSystem::Exists(Day6));
}
