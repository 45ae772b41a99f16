#include "processing/ErrorLog.h"
#include "processing/FileSystem.h"
#include "tests/processing/TestClock.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

TEST(ErrorLog, WritesOnlyIntoItsFolderOneFilePerDayAndDropsWhatCannotBeWritten)
{
    CTempDir dir;
    CTestClock clock;
    CErrorLog log{CErrorLog::DefaultDirectory, CErrorLog::DefaultExtension, clock.Source()};
    EXPECT_EQ(log.Write("IDS_DB_DISCONNECT", TimestampStyle::Full), 0u);
    EXPECT_FALSE(FileSystem::Exists("ErrLog"));

    ASSERT_TRUE(FileSystem::CreateDir("ErrLog"));
    EXPECT_EQ(log.Write("first", TimestampStyle::Full), 1u);
    clock.Set(2026, 12, 5, 23, 59, 59);
    log.Write("second", TimestampStyle::Full);
    clock.Set(2026, 12, 6, 0, 0, 0);
    log.Write("third", TimestampStyle::Full);
    EXPECT_EQ(ReadBytes("ErrLog\\2026-12-05.LOG"), "05/12/2026 17:56:09 first\r\n05/12/2026 23:59:59 second\r\n");
    EXPECT_EQ(ReadBytes("ErrLog\\2026-12-06.LOG"), "06/12/2026 00:00:00 third\r\n");
    EXPECT_EQ(log.GetPath(), "ErrLog\\2026-12-06.LOG");

    // A folder in the place of the day's file makes every open fail.
    clock.Set(2026, 12, 7, 8, 0, 0);
    ASSERT_TRUE(FileSystem::CreateDir("ErrLog\\2026-12-07.LOG"));
    EXPECT_EQ(log.Write("lost", TimestampStyle::Full), 1u);
    clock.Set(2026, 12, 8, 8, 0, 0);
    EXPECT_EQ(log.Write("next day", TimestampStyle::None), 1u);
    EXPECT_EQ(ReadBytes("ErrLog\\2026-12-08.LOG"), "next day\r\n");

    // Other folders and extensions name the day file; the prefix follows the stamp.
    ASSERT_TRUE(FileSystem::CreateDir("Out"));
    CErrorLog writer("Out\\", ".CSV", clock.Source());
    writer.Write("text", TimestampStyle::None, ";");
    writer.Write("", TimestampStyle::None);
    writer.Write("x", TimestampStyle::Full, "\t");
    EXPECT_EQ(ReadBytes("Out\\2026-12-08.CSV"), ";text\r\n\r\n08/12/2026 08:00:00 \tx\r\n");
}
