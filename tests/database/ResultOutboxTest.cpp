#include "database/ResultOutbox.h"
#include "tests/processing/TestClock.h"
#include "tests/support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace
{
const std::string Outbox = "Quorbel.outbox";

std::vector<ResultRow> Rows(std::initializer_list<const char*> frames)
{
    std::vector<ResultRow> rows;
    for (const char* frame : frames)
        rows.push_back({0, "07/12/2026 12:00:00", "2026-12-07.TXT", 0, frame, std::string("L ") + frame});
    return rows;
}

std::vector<uint64_t> Sequences(const CResultOutbox& outbox)
{
    std::vector<uint64_t> sequences;
    for (const ResultRow& row : outbox.Oldest(100))
        sequences.push_back(row.sequence);
    return sequences;
}
}

// Rows outlive the run that added them until a mark confirms them; the
// numbering goes on across runs, also once the journal has been emptied,
// and a frame with tabs, line ends and '%' comes back as it went in.
TEST(ResultOutbox, RowsWaitAcrossRunsUntilConfirmedAndNumbersAreNeverReused)
{
    CTempDir dir;
    {
        CResultOutbox first;
        ASSERT_TRUE(first.Load());
        std::vector<ResultRow> rows = Rows({"a\t%\r\n", "b", "c"});
        ASSERT_TRUE(first.Add(rows));
        EXPECT_EQ(rows.back().sequence, 3u);
        ASSERT_TRUE(first.Delivered(1));
    }
    CResultOutbox second;
    ASSERT_TRUE(second.Load());
    EXPECT_EQ(Sequences(second), (std::vector<uint64_t>{2, 3}));
    EXPECT_EQ(second.Oldest(1).front().frame, "b");
    ASSERT_TRUE(second.Delivered(3));
    EXPECT_EQ(second.WaitingCount(), 0u);
    CResultOutbox third;
    ASSERT_TRUE(third.Load());
    std::vector<ResultRow> more = Rows({"d"});
    ASSERT_TRUE(third.Add(more));
    EXPECT_EQ(more.front().sequence, 4u);
    CResultOutbox fourth;
    ASSERT_TRUE(fourth.Load());
    const ResultRow row = fourth.Oldest(5).at(0);
    EXPECT_EQ(std::make_tuple(row.sequence, row.stamp, row.dayFile, row.storeType, row.frame, row.line),
              std::make_tuple(uint64_t{4}, std::string("07/12/2026 12:00:00"), std::string("2026-12-07.TXT"), 0,
                              std::string("d"), std::string("L d")));
}

// A damaged record, one out of order and a cut last one are set aside byte
// for byte; the sound rows around them stay.
TEST(ResultOutbox, DamagedRecordsAreSetAsideAndTheSoundOnesKept)
{
    CTempDir dir;
    {
        CResultOutbox outbox;
        std::vector<ResultRow> rows = Rows({"one", "two", "three"});
        ASSERT_TRUE(outbox.Add(rows));
    }
    std::string bytes = ReadBytes(Outbox);
    bytes[bytes.find("two")] = 'T';
    const std::string early = bytes.substr(0, bytes.find('\n') + 1);
    std::ofstream(Outbox, std::ios::binary) << bytes << early << "R\t9\tcut";
    CResultOutbox outbox;
    ASSERT_TRUE(outbox.Load());
    EXPECT_EQ(Sequences(outbox), (std::vector<uint64_t>{1, 3}));
    EXPECT_EQ(outbox.DamagedCount(), 3u);
    const size_t two = bytes.find("R\t2");
    EXPECT_EQ(ReadBytes(Outbox + ".damaged"),
              bytes.substr(two, bytes.find('\n', two) + 1 - two) + early + "R\t9\tcut");
}
