#include "database/ResultOutbox.h"

#include "processing/RecordCodec.h"
#include "processing/FileSystem.h"

#include <algorithm>
#include <utility>

namespace
{
// A row: "R", sequence, stamp, day file, store type, frame, line; a mark:
// "D", sequence, and five empty fields, so that every record has as many.
const size_t FieldCount = 7;

bool ParseNumber(const std::string& text, uint64_t& value)
{
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (text.empty() || text.size() > 19 || !std::all_of(text.begin(), text.end(), digit))
        return false;
    value = std::stoull(text);
    return true;
}
}

CResultOutbox::CResultOutbox(std::string path) : m_path(std::move(path))
{
}

bool CResultOutbox::Load()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!FileSystem::Exists(m_path))
        return true;
    std::string bytes;
    if (!FileSystem::ReadContents(m_path, bytes))
        return false;
    std::string damaged;
    CRecordCodec::Parse(
        bytes, FieldCount, [this](const std::vector<std::string>& fields) { return TakeRecord(fields); },
        m_damaged, damaged);
    // Rows confirmed by a mark later in the journal are in the database.
    while (!m_waiting.empty() && m_waiting.front().sequence <= m_deliveredUpTo)
        m_waiting.pop_front();
    m_waitingCount = m_waiting.size();
    if (damaged.empty())
        return true;
    // Kept aside first; then the journal holds the sound records alone, so
    // that no row is ever appended to a record cut off by a power cut.
    if (!FileSystem::AppendToFile(m_path + ".damaged", damaged))
        return false;
    std::string sound = MarkRecord(m_deliveredUpTo);
    for (const ResultRow& row : m_waiting)
        sound += RowRecord(row);
    return FileSystem::ReplaceContents(m_path, sound);
}

// Rows come in the order they were numbered; a row out of that order is no
// row this program wrote.
bool CResultOutbox::TakeRecord(const std::vector<std::string>& fields)
{
    uint64_t sequence = 0;
    if (!ParseNumber(fields[1], sequence))
        return false;
    if (fields[0] == "D")
    {
        m_deliveredUpTo = std::max(m_deliveredUpTo, sequence);
        m_lastSequence = std::max(m_lastSequence, sequence);
        return true;
    }
    uint64_t storeType = 0;
    if (fields[0] != "R" || sequence <= m_lastSequence || !ParseNumber(fields[4], storeType) || storeType > 3)
        return false;
    m_lastSequence = sequence;
    m_waiting.push_back({sequence, fields[2], fields[3], static_cast<int>(storeType), fields[5], fields[6]});
    return true;
}

bool CResultOutbox::Add(std::vector<ResultRow>& rows)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    std::string bytes;
    uint64_t sequence = m_lastSequence;
    for (ResultRow& row : rows)
    {
        row.sequence = ++sequence;
        bytes += RowRecord(row);
    }
    if (!FileSystem::AppendToFile(m_path, bytes))
        return false;
    m_lastSequence = sequence;
    m_waiting.insert(m_waiting.end(), rows.begin(), rows.end());
    m_waitingCount = m_waiting.size();
    return true;
}

std::vector<ResultRow> CResultOutbox::Oldest(size_t count) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const size_t taken = std::min(count, m_waiting.size());
    return std::vector<ResultRow>(m_waiting.begin(), m_waiting.begin() + static_cast<std::ptrdiff_t>(taken));
}

bool CResultOutbox::Delivered(uint64_t sequence)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const bool recorded = m_waiting.empty() || sequence >= m_waiting.back().sequence
                              ? FileSystem::ReplaceContents(m_path, MarkRecord(sequence))
                              : FileSystem::AppendToFile(m_path, MarkRecord(sequence));
    while (!m_waiting.empty() && m_waiting.front().sequence <= sequence)
        m_waiting.pop_front();
    m_waitingCount = m_waiting.size();
    m_deliveredUpTo = std::max(m_deliveredUpTo, sequence);
    return recorded;
}

bool CResultOutbox::NumberAfter(uint64_t highest)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    std::deque<ResultRow> renumbered = m_waiting;
    uint64_t sequence = highest;
    std::string bytes = MarkRecord(highest);
    for (ResultRow& row : renumbered)
    {
        row.sequence = ++sequence;
        bytes += RowRecord(row);
    }
    if (!FileSystem::ReplaceContents(m_path, bytes))
        return false;
    m_waiting.swap(renumbered);
    m_lastSequence = sequence;
    m_deliveredUpTo = highest;
    return true;
}

uint64_t CResultOutbox::LastSequence() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastSequence;
}

size_t CResultOutbox::WaitingCount() const
{
    return m_waitingCount;
}

std::string CResultOutbox::RowRecord(const ResultRow& row)
{
    return CRecordCodec::Encode({"R", std::to_string(row.sequence), row.stamp, row.dayFile,
                                 std::to_string(row.storeType), row.frame, row.line});
}

std::string CResultOutbox::MarkRecord(uint64_t sequence)
{
    return CRecordCodec::Encode({"D", std::to_string(sequence), "", "", "", "", ""});
}
