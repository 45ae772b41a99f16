#pragma once
#include "database/ResultOutbox.h"
#include "database/ResultSender.h"
#include "processing/LocalTime.h"
#include "processing/ReceiverSettings.h"

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// The main window's results database: the central SQL server that gets a
// copy of every stored line when the settings enable it, through the
// outbox ("Quorbel.outbox") and its sender.  Troubles and connections are
// told once each, in the list (through `tell`) and in the error log.  The
// end of its life is recorded in the error log as a disconnection.
class CResultDatabase final : private IDeliveryReport
{
public:
    static constexpr const char* DisconnectEntry = "IDS_DB_DISCONNECT";
    static constexpr size_t MaxUnrecorded = 100000;

    // What it tells the operator; "%1" and "%2" stand for the values.
    struct Notices
    {
        std::string connected = "Central database: connected to %1, %2 line(s) waiting";
        std::string trouble = "Central database not reached: %1; %2 line(s) waiting";
        std::string notRecorded = "Result lines cannot be kept for the central database in %1";
        std::string recorded = "The result lines waiting for the central database have been kept in %1";
        std::string damaged = "%1 damaged record(s) of the central database's outbox kept in %2";
    };

    explicit CResultDatabase(const std::string& name = "DataBase", LocalTimeSource clock = LocalTime::SystemNow,
                             const std::string& outboxPath = CResultOutbox::DefaultName);
    ~CResultDatabase() override;
    CResultDatabase(const CResultDatabase&) = delete;
    CResultDatabase& operator=(const CResultDatabase&) = delete;

    const std::string& Name() const { return m_name; }
    // Before Configure.
    void SetNotices(const Notices& notices) { m_notices = notices; }
    void SetTell(std::function<void(const std::string&)> tell) { m_tell = std::move(tell); }

    // Starts, restarts or stops sending as the settings say, with the
    // password in clear (empty: none, or one the connection string or the
    // DSN holds).  The outbox left by an earlier run is read at the first
    // start and sent on.
    void Configure(const CReceiverSettings::Database& settings, const std::string& password,
                   const std::string& computerName);
    bool Enabled() const { return m_enabled; }
    // Sending ends (before the list it tells goes), after one more try at
    // keeping the rows that wait for the outbox.
    void Stop();
    // On the storing thread: the rows are kept in the outbox (on the disk)
    // and sent by and by.  Rows the outbox cannot take wait in memory, in
    // order (the newest `MaxUnrecorded`), and go in before the next ones.
    void Record(std::vector<ResultRow>& rows);
    // Never waits for the storing thread.
    size_t Waiting() const { return m_outbox.WaitingCount() + m_unrecordedCount; }
    // Whether the server was reached the last time it was tried (false
    // before the first try).
    bool Reached() const { return m_reached; }
    // Called on the sender's thread whenever the state or the rows
    // waiting change; it must not wait for the window.
    void SetStatusChanged(std::function<void()> changed) { m_statusChanged = std::move(changed); }

private:
    void OnDatabaseTrouble(const std::string& problem, size_t waiting) override;
    void OnDatabaseConnected(const std::string& server, size_t waiting) override;
    bool RecordOldest();
    bool RecordWaiting();
    void Tell(const std::string& text) const;
    void StatusChanged() const;
    void OnRowsDelivered() override { StatusChanged(); }

    std::string m_name;
    LocalTimeSource m_clock;
    Notices m_notices;
    std::function<void(const std::string&)> m_tell;
    std::function<void()> m_statusChanged;
    std::atomic<bool> m_reached{false};
    CResultOutbox m_outbox;
    bool m_outboxLoaded = false;
    std::atomic<bool> m_enabled{false};
    // Rows the outbox could not take yet; only while it cannot.
    std::mutex m_unrecordedMutex;
    std::deque<ResultRow> m_unrecorded;
    size_t m_unrecordedDropped = 0;
    std::atomic<size_t> m_unrecordedCount{0};
    CResultSender m_sender;
};
