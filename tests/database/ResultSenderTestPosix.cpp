#include "database/ResultSender.h"
#include "tests/database/PostgresServer.h"
#include "tests/support/TempDir.h"

#include <condition_variable>
#include <cstdio>
#include <gtest/gtest.h>
#include <functional>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace
{
// The sender's reports, with bounded waits for them.
class CReportRecorder : public IDeliveryReport
{
public:
    void OnDatabaseTrouble(const std::string& problem, size_t) override { Add("trouble: " + problem); }
    void OnDatabaseConnected(const std::string& server, size_t) override { Add("connected: " + server); }
    void OnRowsDelivered() override {}

    std::vector<std::string> Reports()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_reports;
    }
    bool WaitFor(size_t count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(30), [&] { return m_reports.size() >= count; });
    }

private:
    void Add(const std::string& report)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_reports.push_back(report);
        m_changed.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_reports;
};

std::vector<ResultRow> Rows(int first, int count)
{
    std::vector<ResultRow> rows;
    for (int i = first; i < first + count; ++i)
        rows.push_back({0, "07/12/2026 12:00:00", "2026-12-07.TXT", 0, "F" + std::to_string(i), "F" + std::to_string(i)});
    return rows;
}

bool WaitUntil(const std::function<bool()>& done)
{
    for (int i = 0; i < 600 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return done();
}
}

// Rows reach the table once each, in order, through a server that goes
// away and comes back: the trouble is reported once, the new connection
// once; a row whose commit answer was lost (it is in the table already)
// counts as delivered, and the outbox ends empty.  Held, the sender sends
// nothing; a new target gets the rows.
TEST(ResultSender, EveryRowArrivesOnceThroughAnOutageAndALostCommitAnswer)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "the test server runs as the postgres user: run as root";
    CTempDir dir;
    CPostgresServer server;
    ASSERT_TRUE(server.Started());
    CResultOutbox outbox;
    CReportRecorder report;
    CResultSender sender(outbox, report);
    sender.SetPauses(std::chrono::milliseconds(100), std::chrono::milliseconds(400));
    std::vector<ResultRow> rows = Rows(1, 300);
    ASSERT_TRUE(outbox.Add(rows));
    ASSERT_TRUE(sender.Send({server.ConnectionString(), "", "quorbel_results", "ST-7"}));
    ASSERT_TRUE(WaitUntil([&] { return outbox.WaitingCount() == 0; }));
    // The first rows of the next batch are there already, as after a commit
    // whose answer was lost.
    ASSERT_TRUE(server.Sql("quorbel", "INSERT INTO quorbel_results VALUES ('ST-7', 301, '', '', 0, 'F301', 'F301'), "
                                      "('ST-7', 302, '', '', 0, 'F302', 'F302')"));

    ASSERT_TRUE(server.Stop());
    rows = Rows(301, 50);
    ASSERT_TRUE(outbox.Add(rows));
    sender.RowsAdded();
    ASSERT_TRUE(report.WaitFor(2));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(WaitUntil([&] { return outbox.WaitingCount() == 0; }));
    // Held, rows wait; a new target takes them.
    sender.Hold();
    // Rows added while a batch is on its way still go with it.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    rows = Rows(351, 5);
    ASSERT_TRUE(outbox.Add(rows));
    sender.RowsAdded();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(outbox.WaitingCount(), 5u);
    ASSERT_TRUE(sender.Send({server.ConnectionString(), "", "quorbel_results", "ST-9"}));
    ASSERT_TRUE(WaitUntil([&] { return outbox.WaitingCount() == 0; }));
    sender.Stop();

    const std::vector<std::string> reports = report.Reports();
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[0].rfind("connected: PostgreSQL 15", 0), 0u) << reports[0];
    EXPECT_EQ(reports[1].rfind("trouble: ", 0), 0u) << reports[1];
    EXPECT_EQ(reports[2], reports[0]);
    EXPECT_EQ(reports[3], reports[0]);
    EXPECT_EQ(server.Query("SELECT min(sequence), max(sequence) FROM quorbel_results WHERE station = 'ST-9'"),
              "351|355\n");
    EXPECT_EQ(server.Query("SELECT count(*), count(DISTINCT sequence), min(sequence), max(sequence) "
                           "FROM quorbel_results WHERE station = 'ST-7'"),
              "350|350|1|350\n");
    EXPECT_EQ(server.Query("SELECT frame FROM quorbel_results WHERE sequence IN (300, 301) ORDER BY sequence"),
              "F300\nF301\n");
}

// An outbox that was lost numbers from 1 again: its rows take the numbers
// after the station's own in the table instead of passing for delivered.
TEST(ResultSender, RowsOfALostOutboxTakeTheNumbersAfterTheTablesOwn)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "the test server runs as the postgres user: run as root";
    CTempDir dir;
    CPostgresServer server;
    ASSERT_TRUE(server.Started());
    const DatabaseTarget target{server.ConnectionString(), "", "quorbel_results", "ST-8"};
    for (int first : {1, 100})
    {
        std::remove(CResultOutbox::DefaultName);
        CResultOutbox outbox;
        CReportRecorder report;
        CResultSender sender(outbox, report);
        std::vector<ResultRow> rows = Rows(first, first == 1 ? 5 : 3);
        ASSERT_TRUE(outbox.Add(rows));
        ASSERT_TRUE(sender.Send(target));
        ASSERT_TRUE(WaitUntil([&] { return outbox.WaitingCount() == 0; }));
    }
    EXPECT_EQ(server.Query("SELECT sequence, frame FROM quorbel_results ORDER BY sequence"),
              "1|F1\n2|F2\n3|F3\n4|F4\n5|F5\n6|F100\n7|F101\n8|F102\n");
}
