#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

// One stored line on its way to the central database.
struct ResultRow
{
    uint64_t sequence = 0;  // the station's own, from 1, never reused
    std::string stamp;      // when the line was stored, "dd/mm/yyyy hh:mm:ss"
    std::string dayFile;    // the day file's name, "2026-12-07.TXT"
    int storeType = 0;
    std::string frame;      // trimmed
    std::string line;       // as stored
};

// The rows that the central database has not confirmed yet, kept in a
// journal of the working folder ("Quorbel.outbox", CRecordCodec records) so
// that an exit, a kill or a power cut loses none: a row is on the disk
// before Add returns.  A delivery mark ("every row up to N is in the
// database") is appended as rows are confirmed; once none waits the
// journal is rewritten to hold the last mark alone, which keeps the
// numbering going across runs.  The storing thread adds while the sending
// thread takes and confirms.
class CResultOutbox
{
public:
    static constexpr const char* DefaultName = "Quorbel.outbox";

    explicit CResultOutbox(std::string path = DefaultName);
    CResultOutbox(const CResultOutbox&) = delete;
    CResultOutbox& operator=(const CResultOutbox&) = delete;

    // What an earlier run left; false when the journal cannot be read.
    // Damaged records go to the ".damaged" file beside it, byte for byte.
    bool Load();
    // Numbers the rows and records them; false, and none kept, when they
    // could not be written.
    bool Add(std::vector<ResultRow>& rows);
    // The oldest waiting rows, at most `count`, in order.
    std::vector<ResultRow> Oldest(size_t count) const;
    // Every row up to `sequence` is in the database; false when that could
    // not be recorded (the rows are then sent again, and found there).
    bool Delivered(uint64_t sequence);

    // The table already holds rows of this station up to `highest` that
    // this outbox did not number (it was lost or replaced): the waiting
    // rows, and later ones, take the numbers after them.  False, and
    // nothing changed, when the journal could not be rewritten.
    bool NumberAfter(uint64_t highest);

    // Never waits for a write under way: the window asks.
    size_t WaitingCount() const;
    uint64_t LastSequence() const;
    size_t DamagedCount() const { return m_damaged; }
    const std::string& Path() const { return m_path; }

private:
    static std::string RowRecord(const ResultRow& row);
    static std::string MarkRecord(uint64_t sequence);
    bool TakeRecord(const std::vector<std::string>& fields);

    const std::string m_path;
    mutable std::mutex m_mutex;
    std::deque<ResultRow> m_waiting;
    std::atomic<size_t> m_waitingCount{0};
    uint64_t m_lastSequence = 0;
    uint64_t m_deliveredUpTo = 0;
    size_t m_damaged = 0;
};
