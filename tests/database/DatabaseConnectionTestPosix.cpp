#include "database/DatabaseConnection.h"
#include "tests/database/PostgresServer.h"
#include "tests/database/PrivateNetwork.h"

#include <chrono>
#include <future>
#include <thread>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{
ResultRow Row(uint64_t sequence, const std::string& frame)
{
    return {sequence, "07/12/2026 12:00:00", "2026-12-07.TXT", 1, frame, "07/12/2026 12:00:00 ;" + frame};
}
}

// Against a real PostgreSQL: the table is made on first use; rows go in as
// data, whatever they hold (a frame that reads as SQL, a "°" in the
// station's code page); a row that is there already answers with the
// duplicate-key state and the whole transaction is taken back; a server
// that does not answer, and a wrong table name, say so.
TEST(DatabaseConnection, RowsGoInAsDataInOneTransactionAndFailuresSayWhy)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "the test server runs as the postgres user: run as root";
    CPostgresServer server;
    ASSERT_TRUE(server.Started());
    CDatabaseConnection connection;
    ASSERT_TRUE(connection.Open(server.ConnectionString(), "", 10)) << connection.Error();
    EXPECT_EQ(connection.ServerName(), "PostgreSQL");
    EXPECT_FALSE(connection.EnsureTable("results; DROP TABLE x"));
    ASSERT_TRUE(connection.EnsureTable("quorbel_results")) << connection.Error();
    ASSERT_TRUE(connection.EnsureTable("quorbel_results")) << connection.Error();
    const std::string hostile = "'); DROP TABLE quorbel_results; --";
    ASSERT_TRUE(connection.InsertRows("quorbel_results", "ST-1", {Row(1, hostile), Row(2, "20.0\xB0" "C")}))
        << connection.Error();
    EXPECT_FALSE(connection.InsertRows("quorbel_results", "ST-1", {Row(3, "three"), Row(2, "again")}));
    EXPECT_TRUE(connection.FailedOnDuplicateKey()) << connection.Error();
    EXPECT_EQ(server.Query("SELECT station, sequence, stamp, day_file, store_type, frame FROM quorbel_results "
                           "ORDER BY sequence"),
              "ST-1|1|07/12/2026 12:00:00|2026-12-07.TXT|1|" + hostile + "\nST-1|2|07/12/2026 12:00:00|"
              "2026-12-07.TXT|1|20.0\xC2\xB0" "C\n");

    CDatabaseConnection nowhere;
    // A brace left open takes the password into the host name.
    EXPECT_FALSE(nowhere.Open("Driver={PostgreSQL Unicode};Port=1;Database=quorbel;Uid=postgres;Server={db1;",
                              "s3cret", 3));
    EXPECT_FALSE(nowhere.Error().empty());
    EXPECT_EQ(nowhere.Error().find("s3cret"), std::string::npos) << nowhere.Error();
}

// A connection that goes silent mid-transaction (the network gone, no reset
// ever comes) fails within about its time-out instead of the quarter of an
// hour TCP would wait, and the server soon gives up the transaction it cut
// off, so that its rows can go in again.  The server and the connection
// live in a network namespace of the test's own, whose loopback is taken
// down under a batch of rows.
TEST(DatabaseConnection, ASilentConnectionFailsWithinItsTimeOutAndLeavesNoLocksBehind)
{
    CPrivateNetwork network;
    if (!network.Entered())
        GTEST_SKIP() << "a network namespace of its own needs root";
    CPostgresServer server;
    ASSERT_TRUE(server.Started());
    std::vector<ResultRow> rows;
    for (uint64_t i = 1; i <= 5000; ++i)
        rows.push_back(Row(i, "F" + std::to_string(i)));
    CDatabaseConnection connection;
    ASSERT_TRUE(connection.Open(server.ConnectionString(), "", 3)) << connection.Error();
    ASSERT_TRUE(connection.EnsureTable("quorbel_results")) << connection.Error();
    const auto began = std::chrono::steady_clock::now();
    std::future<bool> inserted = std::async(std::launch::async, [&] {
        return connection.InsertRows("quorbel_results", "ST-1", rows);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const bool down = network.SetLoopback(false);
    const bool ended = inserted.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    const auto took = std::chrono::steady_clock::now() - began;
    // The station forgets the connection, as a power cut makes it do: no
    // end of it will ever reach the server.
    std::system(("ss -K -t dst 127.0.0.1 dport = " + std::to_string(server.Port()) + " >/dev/null").c_str());
    // Back up, so that a connection still waiting gets its answer and ends.
    ASSERT_TRUE(network.SetLoopback(true));
    ASSERT_TRUE(down && ended) << "still waiting after 30 s";
    EXPECT_FALSE(inserted.get()) << "the batch was through before the loopback went down";
    EXPECT_LT(took, std::chrono::seconds(15));
    EXPECT_FALSE(connection.Error().empty());

    CDatabaseConnection again;
    bool resent = false;
    for (const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
         !resent && std::chrono::steady_clock::now() < until;)
        resent = again.Open(server.ConnectionString(), "", 3) && again.InsertRows("quorbel_results", "ST-1", rows);
    EXPECT_TRUE(resent) << again.Error();
}
