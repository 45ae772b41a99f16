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
    m_sender.Stop();
    CErrorLog log(CErrorLog::DefaultDirectory, CErrorLog::DefaultExtension, m_clock);
    log.Write(DisconnectEntry, TimestampStyle::Full);
}

void CResultDatabase::Configure(const CReceiverSettings::Database& settings, const std::string& password,
                                const std::string& computerName)
{
    m_sender.Stop();
    m_enabled = false;
    if (settings.enabled == 0)
        return;
    // Rows are numbered after those of the journal: it is read before any
    // is added.  One that cannot be read is left alone, and so is sending.
    if (!m_outboxLoaded && !m_outbox.Load())
    {
        Tell(NoticeText::Filled(m_notices.notRecorded, m_outbox.Path()));
        return;
    }
    m_outboxLoaded = true;
    if (m_outbox.DamagedCount() != 0)
        Tell(NoticeText::Filled(m_notices.damaged, std::to_string(m_outbox.DamagedCount()),
                                m_outbox.Path() + ".damaged"));
    m_enabled = true;
    m_sender.Start({settings.connectionString, password, settings.table,
                    settings.station.empty() ? computerName : settings.station});
}

bool CResultDatabase::Record(std::vector<ResultRow>& rows)
{
    if (!m_outbox.Add(rows))
    {
        if (!m_notRecordedTold)
            Tell(NoticeText::Filled(m_notices.notRecorded, m_outbox.Path(), ""));
        m_notRecordedTold = true;
        return false;
    }
    m_notRecordedTold = false;
    m_sender.RowsAdded();
    StatusChanged();
    return true;
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
