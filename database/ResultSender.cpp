#include "database/ResultSender.h"

#include "database/CodePage.h"

#include <algorithm>

namespace
{
// Connected with nothing to send, the thread sleeps until rows come (or
// Stop).
const std::chrono::minutes IdleWait{10};
}

CResultSender::CResultSender(CResultOutbox& outbox, IDeliveryReport& report)
    : m_outbox(outbox), m_report(report)
{
}

CResultSender::~CResultSender()
{
    Stop();
}

bool CResultSender::Send(const DatabaseTarget& target)
{
    Retarget(target);
    return m_thread.Exists() || m_thread.Start([this] { Run(); });
}

void CResultSender::Hold()
{
    Retarget(std::nullopt);
}

void CResultSender::Retarget(std::optional<DatabaseTarget> target)
{
    const std::lock_guard<std::mutex> lock(m_nextMutex);
    m_next = std::move(target);
    m_retargeted = true;
    m_thread.Wake();
}

bool CResultSender::TakeNewTarget()
{
    if (!m_retargeted)
        return false;
    const std::lock_guard<std::mutex> lock(m_nextMutex);
    m_target = m_next;
    m_retargeted = false;
    m_troubled = false;
    m_pause = m_firstPause;
    return true;
}

void CResultSender::Stop()
{
    m_thread.Stop();
    m_connection.Close();
}

void CResultSender::SetPauses(std::chrono::milliseconds first, std::chrono::milliseconds longest)
{
    m_firstPause = m_pause = first;
    m_longestPause = longest;
}

void CResultSender::Run()
{
    // Connected from the start, so that a server that cannot be reached is
    // told at once, not with the next frame.
    while (!m_thread.Stopping())
    {
        if (TakeNewTarget())
            m_connection.Close();
        if (!m_target)
        {
            m_thread.Wait(IdleWait);
            continue;
        }
        if (!m_connection.IsOpen() && !Connect())
        {
            WaitBeforeRetry();
            continue;
        }
        if (m_outbox.WaitingCount() == 0)
        {
            m_thread.Wait(IdleWait);
            continue;
        }
        if (SendBatch())
            continue;
        m_connection.Close();
        WaitBeforeRetry();
    }
}

bool CResultSender::Connect()
{
    if (!m_connection.Open(m_target->connectionString, m_target->password, TimeoutSeconds) ||
        !m_connection.EnsureTable(m_target->table) || !AlignNumbering())
    {
        Trouble(m_connection.Error());
        // Never sent to without its numbering checked.
        m_connection.Close();
        return false;
    }
    m_troubled = false;
    m_pause = m_firstPause;
    // A connection to a target given up meanwhile is not told.
    if (!m_retargeted)
        m_report.OnDatabaseConnected(m_connection.ServerName() + " " + m_connection.ServerVersion(),
                                     m_outbox.WaitingCount());
    return true;
}

// An outbox that was lost or replaced numbers from 1 again: its rows would
// clash with rows already in the table and pass for delivered.  The oldest
// waiting row tells: the same line at its number in the table is a commit
// whose answer was lost (commits come in order); anything else at or below
// the table's highest number means numbers from elsewhere.
bool CResultSender::AlignNumbering()
{
    uint64_t highest = 0;
    if (!m_connection.HighestSequence(m_target->table, m_target->station, highest))
        return false;
    // Read before the waiting rows: a row added meanwhile is then among them.
    const uint64_t last = m_outbox.LastSequence();
    const std::vector<ResultRow> oldest = m_outbox.Oldest(1);
    if (oldest.empty())
        return highest <= last || m_outbox.NumberAfter(highest);
    if (highest < oldest.front().sequence)
        return true;
    std::u16string line;
    if (!m_connection.LineAt(m_target->table, m_target->station, oldest.front().sequence, line))
        return false;
    return (!line.empty() && line == CodePage::ToUtf16(oldest.front().line)) || m_outbox.NumberAfter(highest);
}

bool CResultSender::SendBatch()
{
    const std::vector<ResultRow> rows = m_outbox.Oldest(BatchRows);
    if (m_connection.InsertRows(m_target->table, m_target->station, rows))
    {
        m_outbox.Delivered(rows.back().sequence);
        m_report.OnRowsDelivered();
        return true;
    }
    if (m_connection.FailedOnDuplicateKey())
        return SendRowByRow(rows);
    Trouble(m_connection.Error());
    return false;
}

bool CResultSender::SendRowByRow(const std::vector<ResultRow>& rows)
{
    for (const ResultRow& row : rows)
    {
        if (!m_connection.InsertRows(m_target->table, m_target->station, {row}) &&
            !m_connection.FailedOnDuplicateKey())
        {
            Trouble(m_connection.Error());
            return false;
        }
        m_outbox.Delivered(row.sequence);
    }
    m_report.OnRowsDelivered();
    return true;
}

void CResultSender::Trouble(const std::string& problem)
{
    if (!m_troubled && !m_retargeted)
        m_report.OnDatabaseTrouble(problem, m_outbox.WaitingCount());
    m_troubled = true;
}

// New rows do not shorten the pause: an outage costs one attempt a pause,
// not one a frame.
void CResultSender::WaitBeforeRetry()
{
    const auto until = std::chrono::steady_clock::now() + m_pause;
    for (auto now = std::chrono::steady_clock::now(); !m_thread.Stopping() && !m_retargeted && now < until;
         now = std::chrono::steady_clock::now())
        m_thread.Wait(std::chrono::duration_cast<std::chrono::milliseconds>(until - now) +
                      std::chrono::milliseconds(1));
    m_pause = std::min(m_pause * 2, m_longestPause);
}
