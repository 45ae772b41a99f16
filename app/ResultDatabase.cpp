#include "app/ResultDatabase.h"

#include "processing/ErrorLog.h"
#include "processing/NoticeText.h"

#include <utility>

CResultDatabase::CResultDatabase(const std::string& name, LocalTimeSource clock, const std::string& outboxPath)
    : m_name(name), m_clock(std::move(clock)), m_outbox(outboxPath), m_sender(m_outbox, *this)
{
}

CResultDatabase::~CResultDatabase()
{
    Stop();
    CErrorLog log(CErrorLog::DefaultDirectory, CErrorLog::DefaultExtension, m_clock);
    log.Write(DisconnectEntry, TimestampStyle::Full);
}

void CResultDatabase::Configure(const CReceiverSettings::Database& settings, const std::string& password,
                                const std::string& computerName)
{
    // Rows stored meanwhile go on to the outbox: they are the new target's.
    m_reached = false;
    if (settings.enabled == 0)
    {
        m_enabled = false;
        m_sender.Hold();
        return;
    }
    // Rows are numbered after those of the journal: it is read before any
    // is added.  One that cannot be read is left alone, and so is sending.
    if (!m_outboxLoaded)
    {
        if (!m_outbox.Load())
        {
            Tell(NoticeText::Filled(m_notices.notRecorded, m_outbox.Path()));
            return;
        }
        m_outboxLoaded = true;
        if (m_outbox.DamagedCount() != 0)
            Tell(NoticeText::Filled(m_notices.damaged, std::to_string(m_outbox.DamagedCount()),
                                    m_outbox.Path() + ".damaged"));
    }
    m_enabled = true;
    m_sender.Send({settings.connectionString, password, settings.table,
                    settings.station.empty() ? computerName : settings.station});
}

void CResultDatabase::Record(std::vector<ResultRow>& rows)
{
    const std::lock_guard<std::mutex> lock(m_unrecordedMutex);
    const bool wereWaiting = !m_unrecorded.empty();
    m_unrecorded.insert(m_unrecorded.end(), std::make_move_iterator(rows.begin()),
                        std::make_move_iterator(rows.end()));
    // While the outbox cannot be written, a try costs one row, not all
    // those that wait.
    const bool recorded = (!wereWaiting || RecordOldest()) && RecordWaiting();
    if (recorded && wereWaiting)
        Tell(NoticeText::Filled(m_notices.recorded, m_outbox.Path()));
    if (!recorded && !wereWaiting)
        Tell(NoticeText::Filled(m_notices.notRecorded, m_outbox.Path()));
    if (m_unrecorded.size() > MaxUnrecorded)
    {
        const size_t dropped = m_unrecorded.size() - MaxUnrecorded;
        m_unrecorded.erase(m_unrecorded.begin(), m_unrecorded.begin() + static_cast<std::ptrdiff_t>(dropped));
        m_unrecordedDropped += dropped;
    }
    m_unrecordedCount = m_unrecorded.size();
    StatusChanged();
}

// These two under the lock of the rows that wait.
bool CResultDatabase::RecordOldest()
{
    std::vector<ResultRow> oldest{m_unrecorded.front()};
    if (!m_outbox.Add(oldest))
        return false;
    m_unrecorded.pop_front();
    return true;
}

bool CResultDatabase::RecordWaiting()
{
    if (m_unrecorded.empty())
        return true;
    std::vector<ResultRow> rows(std::make_move_iterator(m_unrecorded.begin()),
                                std::make_move_iterator(m_unrecorded.end()));
    if (!m_outbox.Add(rows))
    {
        m_unrecorded.assign(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
        return false;
    }
    m_unrecorded.clear();
    m_sender.RowsAdded();
    return true;
}

void CResultDatabase::Stop()
{
    m_sender.Stop();
    const std::lock_guard<std::mutex> lock(m_unrecordedMutex);
    if (m_unrecordedDropped + (RecordWaiting() ? 0 : m_unrecorded.size()) == 0)
        return;
    CErrorLog log(CErrorLog::DefaultDirectory, CErrorLog::DefaultExtension, m_clock);
    log.Write(std::to_string(m_unrecordedDropped + m_unrecorded.size()) +
                  " result line(s) never reached the central database's outbox",
              TimestampStyle::Full);
    m_unrecorded.clear();
    m_unrecordedCount = 0;
    m_unrecordedDropped = 0;
}

void CResultDatabase::OnDatabaseTrouble(const std::string& problem, size_t waiting)
{
    m_reached = false;
    StatusChanged();
    Tell(NoticeText::Filled(m_notices.trouble, problem, std::to_string(waiting)));
}

void CResultDatabase::OnDatabaseConnected(const std::string& server, size_t waiting)
{
    m_reached = true;
    StatusChanged();
    Tell(NoticeText::Filled(m_notices.connected, server, std::to_string(waiting)));
}

void CResultDatabase::StatusChanged() const
{
    if (m_statusChanged)
        m_statusChanged();
}

void CResultDatabase::Tell(const std::string& text) const
{
    if (m_tell)
        m_tell(text + "\r\n");
    CErrorLog log(CErrorLog::DefaultDirectory, CErrorLog::DefaultExtension, m_clock);
    log.Write(text, TimestampStyle::Full);
}
