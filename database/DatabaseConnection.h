#pragma once
#include "database/ResultOutbox.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// One session with the central SQL server through ODBC (the driver the
// connection string names: PostgreSQL's, SQL Server's).  Rows go in as
// parameters only, never as SQL text: a frame is the instrument's input,
// whatever bytes it holds.  Text goes as UTF-16, converted from the
// station's code page, so that "°C" arrives as "°C".  Every wait is
// bounded: the login and each statement have a time-out.
class CDatabaseConnection
{
public:

    CDatabaseConnection();
    ~CDatabaseConnection();
    CDatabaseConnection(const CDatabaseConnection&) = delete;
    CDatabaseConnection& operator=(const CDatabaseConnection&) = delete;

    // With the password (when not empty) added to the connection string;
    // false when it failed: Error() then says why, in the driver's words,
    // never with the password.  A connection that goes silent fails within
    // about the time-out too, where the driver can be told so.
    bool Open(const std::string& connectionString, const std::string& password, unsigned timeoutSeconds);
    void Close();
    bool IsOpen() const;
    // The server's product and version, as its driver names them.
    std::string ServerName() const { return m_serverName; }
    std::string ServerVersion() const { return m_serverVersion; }

    // Creates the table of the rows unless it exists, in the dialect of
    // the server; the name must be a plain identifier.
    bool EnsureTable(const std::string& table);
    // Inserts the rows of the station in one transaction, committed only
    // when every row went in.
    bool InsertRows(const std::string& table, const std::string& station,
                    const std::vector<ResultRow>& rows);

    // The station's highest sequence in the table (0 without a row) and
    // the line of its row `sequence` (empty without one), as UTF-16.
    bool HighestSequence(const std::string& table, const std::string& station, uint64_t& highest);
    bool LineAt(const std::string& table, const std::string& station, uint64_t sequence, std::u16string& line);

    const std::string& Error() const { return m_error; }
    const std::string& ErrorState() const { return m_state; }
    // The last failure was a duplicate key: the row is there already
    // (PostgreSQL's SQLSTATE 23505; SQL Server's 23000 with its native
    // errors 2627 and 2601).
    bool FailedOnDuplicateKey() const;

    // A table name that can go into a statement: letters, digits and '_',
    // not starting with a digit, at most 63 characters.
    static bool IsPlainIdentifier(const std::string& name);

private:
    struct Handles;
    bool Connect(const std::string& connectionString);
    bool IsPostgresDriver() const;
    bool Fail(short handleType, void* handle, const std::string& what);
    void* NewStatement();
    bool TableIsThere(const std::string& table);
    bool StillConnected();
    bool Execute(const std::string& statement);
    bool EndTransaction(bool commit);
    bool RollBackAfterError();
    bool RefuseTableName(const std::string& table);
    // The connection string with a keyword added, its value quoted as ODBC
    // quotes one (braces, a '}' doubled); unchanged without a value.
    static std::string WithAttribute(const std::string& connectionString, const std::string& keyword,
                                     const std::string& value);
    std::string SilenceBounds() const;
    bool InsertRow(void* statement, const std::string& station, const ResultRow& row);
    // Runs a query of the station's rows, `sequence` bound when not 0, and
    // reads the first column of its first row (empty without one).
    bool QueryStation(const std::string& query, const std::string& station, uint64_t sequence,
                      std::u16string& value);

    std::unique_ptr<Handles> m_handles;
    unsigned m_timeoutSeconds = 30;
    std::string m_serverName;
    std::string m_serverVersion;
    std::string m_error;
    // Kept only to be masked out of the driver's messages.
    std::string m_password;
    std::string m_state;
    long m_nativeError = 0;
};
