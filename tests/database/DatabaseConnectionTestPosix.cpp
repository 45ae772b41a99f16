#include "database/DatabaseConnection.h"
#include "tests/database/PostgresServer.h"

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
