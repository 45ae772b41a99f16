#include "app/CountdownTimer.h"
#include "app/ResultDatabase.h"
#include "tests/processing/TestClock.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

TEST(CountdownTimer, CountsDownInItsUnit)
{
    struct Case { int unitMode; int64_t frequency; int units; int64_t elapsedCounts; int remaining; };
    const Case cases[] = {
        {0, 1000000, 1000, 999000, 1},
        {0, 1000000, 1000, 1001000, 0},
        {1, 1000000, 5, 25000, 3},
        {0, 500, 10, 4, 6},                        // slower than 1 kHz
        {0, 1000000, 10, -5000, 10},               // a counter that steps back
        {0, 1000, 1000, (int64_t(1) << 32) + 5, 0},  // weeks later
        {0, 1000000, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        int64_t now = 7;
        CCountdownTimer timer([&now] { return now; }, [&c] { return c.frequency; });
        timer.SetUnit(c.unitMode);
        timer.Start(c.units);
        now += c.elapsedCounts;
        EXPECT_EQ(timer.Remaining(), c.remaining) << c.elapsedCounts;
        now -= c.elapsedCounts;
        EXPECT_EQ(timer.Remaining(), c.remaining == 0 ? 0 : c.units) << "stays stopped";
    }
}

TEST(ResultDatabase, LeavesOneDisconnectEntryWhenTheLogFolderExists)
{
    CTempDir dir;
    CTestClock clock;
    { CResultDatabase database("DataBase", clock.Source()); }
    EXPECT_FALSE(FileSystem::Exists("ErrLog"));
    std::filesystem::create_directory("ErrLog");
    { CResultDatabase database("DataBase", clock.Source()); }
    EXPECT_EQ(ReadBytes("ErrLog\\2026-12-05.LOG"), "05/12/2026 17:56:09 IDS_DB_DISCONNECT\r\n");
}

// Records of the outbox damaged by a power cut are told once, with the file
// that keeps them; a server that cannot be reached is told after them.
TEST(ResultDatabase, TellsOfDamagedOutboxRecordsWhenItStarts)
{
    CTempDir dir;
    CTestClock clock;
    std::ofstream("Quorbel.outbox", std::ios::binary) << "R\t1\tcut";
    std::vector<std::string> told;
    std::mutex mutex;
    {
        CResultDatabase database("DataBase", clock.Source());
        database.SetTell([&](const std::string& text) {
            const std::lock_guard<std::mutex> lock(mutex);
            told.push_back(text);
        });
        CReceiverSettings::Database settings;
        settings.enabled = 1;
        settings.connectionString = "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=1;Database=quorbel;";
        database.Configure(settings, "", "ST");
        EXPECT_TRUE(database.Enabled());
        const auto toldTwice = [&] {
            const std::lock_guard<std::mutex> lock(mutex);
            return told.size() >= 2;
        };
        for (int i = 0; i < 200 && !toldTwice(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_GE(told.size(), 2u);
    EXPECT_EQ(told[0], "1 damaged record(s) of the central database's outbox kept in Quorbel.outbox.damaged\r\n");
    EXPECT_EQ(told[1].rfind("Central database not reached: ", 0), 0u) << told[1];
    EXPECT_EQ(ReadBytes("Quorbel.outbox.damaged"), "R\t1\tcut");
}
