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

namespace
{
// What a database tells the list, with a bounded wait for it.
class CToldLines
{
public:
    void Attach(CResultDatabase& database)
    {
        database.SetTell([this](const std::string& text) {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_told.push_back(text);
        });
    }
    std::vector<std::string> WaitFor(size_t count)
    {
        for (int i = 0; i < 200 && Lines().size() < count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return Lines();
    }
    std::vector<std::string> Lines()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_told;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_told;
};

// Enabled, towards a server that is not there.
CReceiverSettings::Database Unreachable()
{
    CReceiverSettings::Database settings;
    settings.enabled = 1;
    settings.connectionString = "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=1;Database=quorbel;";
    return settings;
}

std::vector<ResultRow> Rows(const std::string& first, const std::string& second)
{
    return {{0, "07/12/2026 12:00:00", "2026-12-07.TXT", 0, first, first},
            {0, "07/12/2026 12:00:00", "2026-12-07.TXT", 0, second, second}};
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
    CToldLines lines;
    std::vector<std::string> told;
    {
        CResultDatabase database("DataBase", clock.Source());
        lines.Attach(database);
        database.Configure(Unreachable(), "", "ST");
        EXPECT_TRUE(database.Enabled());
        told = lines.WaitFor(2);
    }
    ASSERT_GE(told.size(), 2u);
    EXPECT_EQ(told[0], "1 damaged record(s) of the central database's outbox kept in Quorbel.outbox.damaged\r\n");
    EXPECT_EQ(told[1].rfind("Central database not reached: ", 0), 0u) << told[1];
    EXPECT_EQ(ReadBytes("Quorbel.outbox.damaged"), "R\t1\tcut");
}

// Rows the outbox cannot take (its disk full, its file gone wrong) wait in
// memory and go in, in order, before the next ones: each end is told once.
TEST(ResultDatabase, RowsTheOutboxCannotTakeWaitAndGoInFirst)
{
    CTempDir dir;
    CTestClock clock;
    CToldLines lines;
    CResultDatabase database("DataBase", clock.Source());
    lines.Attach(database);
    database.Configure(Unreachable(), "", "ST");
    // Two frames a group: "A" and "B", "C" and "D", ...
    const auto record = [&](char first) {
        std::vector<ResultRow> rows = Rows(std::string(1, first), std::string(1, static_cast<char>(first + 1)));
        database.Record(rows);
    };
    std::filesystem::create_directory("Quorbel.outbox");
    record('A');
    record('C');
    EXPECT_EQ(database.Waiting(), 4u);
    std::filesystem::remove("Quorbel.outbox");
    record('E');
    record('G');
    EXPECT_EQ(database.Waiting(), 8u);
    const std::string outbox = ReadBytes("Quorbel.outbox");
    size_t at = 0;
    for (const std::string frame : {"A", "B", "C", "D", "E", "F", "G", "H"})
    {
        at = outbox.find("\t" + frame + "\t" + frame + "\t", at);
        ASSERT_NE(at, std::string::npos) << frame << " in order in " << outbox;
    }
    std::vector<std::string> told;
    for (const std::string& line : lines.Lines())
    {
        if (line.rfind("Central database not reached", 0) != 0)
            told.push_back(line);
    }
    EXPECT_EQ(told, (std::vector<std::string>{
                        "Result lines cannot be kept for the central database in Quorbel.outbox\r\n",
                        "The result lines waiting for the central database have been kept in Quorbel.outbox\r\n"}));
}
