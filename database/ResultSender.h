#pragma once
#include "acquisition/ReceiveThread.h"
#include "database/DatabaseConnection.h"
#include "database/ResultOutbox.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <cstddef>
#include <string>

// Where the rows go: an ODBC connection string, the table and the
// station's name in it.
struct DatabaseTarget
{
    std::string connectionString;
    std::string password;  // added to the connection string only to connect
    std::string table = "quorbel_results";
    std::string station;
};

// What the sender says of the database, on its own thread: a trouble once
// when it begins (the driver's words, the rows waiting), and each
// connection made (the server, the rows waiting), which also ends one.
class IDeliveryReport
{
public:
    virtual ~IDeliveryReport() = default;
    virtual void OnDatabaseTrouble(const std::string& problem, size_t waiting) = 0;
    virtual void OnDatabaseConnected(const std::string& server, size_t waiting) = 0;
    // A transaction has committed: fewer rows wait.
    virtual void OnRowsDelivered() = 0;
};

// Sends the outbox's rows to the central database, oldest first, in
// batches of one transaction each, on a thread of its own; a row leaves
// the outbox once its transaction has committed.  A duplicate key means a
// commit whose answer was lost: the batch goes again row by row, and a
// row that is there already counts as delivered.  Any other failure drops
// the connection and tries again after a pause that grows from 5 s to
// 60 s.  Nothing of this ever waits for the threads that store frames, and
// only Stop waits for the sender: a new target or a hold is taken up by its
// thread between two statements.
class CResultSender final
{
public:
    static constexpr size_t BatchRows = 200;
    static constexpr unsigned TimeoutSeconds = 15;

    CResultSender(CResultOutbox& outbox, IDeliveryReport& report);
    ~CResultSender();
    CResultSender(const CResultSender&) = delete;
    CResultSender& operator=(const CResultSender&) = delete;

    // Sends to the target from now on: the thread starts, or drops its
    // connection and connects to the new target.  False when no thread
    // could be made.
    bool Send(const DatabaseTarget& target);
    // Sending ends until the next Send; the thread drops its connection.
    void Hold();
    // Ends the thread, after the statement it is in.
    void Stop();
    // New rows are in the outbox.
    void RowsAdded() { m_thread.Wake(); }
    void SetPauses(std::chrono::milliseconds first, std::chrono::milliseconds longest);

private:
    void Retarget(std::optional<DatabaseTarget> target);
    bool TakeNewTarget();
    void Run();
    bool Connect();
    bool AlignNumbering();
    bool SendBatch();
    bool SendRowByRow(const std::vector<ResultRow>& rows);
    void Trouble(const std::string& problem);
    void WaitBeforeRetry();

    CResultOutbox& m_outbox;
    IDeliveryReport& m_report;
    // Handed over by Send and Hold, taken up by the thread.
    std::mutex m_nextMutex;
    std::optional<DatabaseTarget> m_next;
    std::atomic<bool> m_retargeted{false};
    // The thread's own.
    std::optional<DatabaseTarget> m_target;
    CDatabaseConnection m_connection;
    std::chrono::milliseconds m_firstPause{5000};
    std::chrono::milliseconds m_longestPause{60000};
    std::chrono::milliseconds m_pause{5000};
    bool m_troubled = false;
    CReceiveThread m_thread;
};
