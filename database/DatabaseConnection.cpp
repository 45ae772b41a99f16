#include "database/DatabaseConnection.h"

#include "database/CodePage.h"

// The ODBC headers of Windows need windows.h; this file is the only one
// that includes them.
#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cctype>

namespace
{
const size_t ColumnCount = 7;

bool ContainsWord(std::string text, const std::string& lowerCaseWord)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.find(lowerCaseWord) != std::string::npos;
}
}

struct CDatabaseConnection::Handles
{
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    bool connected = false;
};

CDatabaseConnection::CDatabaseConnection() : m_handles(new Handles)
{
}

CDatabaseConnection::~CDatabaseConnection()
{
    Close();
}

bool CDatabaseConnection::IsOpen() const
{
    return m_handles->connected;
}

bool CDatabaseConnection::Open(const std::string& connectionString, const std::string& password,
                               unsigned timeoutSeconds)
{
    m_timeoutSeconds = timeoutSeconds;
    m_password = password;
    const std::string plain = WithAttribute(connectionString, "Pwd", password);
    if (!Connect(plain))
        return false;
    // PostgreSQL's driver waits on a connection gone silent for as long as
    // TCP retries (a quarter of an hour on Linux), and the server keeps a
    // transaction cut off that way, with the locks of its rows, for hours.
    // libpq's options bound both, unless the station chose its own; a
    // driver or server too old for them keeps the plain connection.
    if (!IsPostgresDriver() || ContainsWord(connectionString, "pqopt"))
        return true;
    return Connect(WithAttribute(WithAttribute(connectionString, "pqopt", SilenceBounds()), "Pwd", password)) ||
           Connect(plain);
}

// On either side, unanswered data, or an answer awaited without a keepalive
// answered, ends the connection after the time-out; the server also ends a
// transaction left waiting for twice as long.
std::string CDatabaseConnection::SilenceBounds() const
{
    const unsigned seconds = std::max(m_timeoutSeconds, 3u);
    const std::string idle = std::to_string(seconds);
    const std::string interval = std::to_string(seconds / 3);
    const std::string unanswered = std::to_string(seconds * 1000);
    return "keepalives=1 keepalives_idle=" + idle + " keepalives_interval=" + interval +
           " keepalives_count=3 tcp_user_timeout=" + unanswered +
           " options='-c idle_in_transaction_session_timeout=" + std::to_string(seconds * 2000) +
           " -c tcp_keepalives_idle=" + idle + " -c tcp_keepalives_interval=" + interval +
           " -c tcp_keepalives_count=3 -c tcp_user_timeout=" + unanswered + "'";
}

bool CDatabaseConnection::IsPostgresDriver() const
{
    SQLCHAR name[256] = {};
    SQLSMALLINT length = 0;
    SQLGetInfo(m_handles->connection, SQL_DRIVER_NAME, name, sizeof name, &length);
    return ContainsWord(reinterpret_cast<const char*>(name), "psqlodbc");
}

// The unsuffixed ANSI names: Wine's odbc32 has no "A" entry points.
bool CDatabaseConnection::Connect(const std::string& connectionString)
{
    Close();
    Handles& h = *m_handles;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h.environment)) ||
        !SQL_SUCCEEDED(SQLSetEnvAttr(h.environment, SQL_ATTR_ODBC_VERSION,
                                     reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)) ||
        !SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, h.environment, &h.connection)))
        return Fail(SQL_HANDLE_ENV, h.environment, "the ODBC driver manager is not usable");
    const auto timeout = reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(m_timeoutSeconds));
    SQLSetConnectAttr(h.connection, SQL_ATTR_LOGIN_TIMEOUT, timeout, 0);
    SQLSetConnectAttr(h.connection, SQL_ATTR_CONNECTION_TIMEOUT, timeout, 0);
    std::string text = connectionString;
    SQLCHAR out[1024];
    SQLSMALLINT outLength = 0;
    if (!SQL_SUCCEEDED(SQLDriverConnect(h.connection, nullptr, reinterpret_cast<SQLCHAR*>(&text[0]),
                                        SQL_NTS, out, sizeof out, &outLength, SQL_DRIVER_NOPROMPT)))
        return Fail(SQL_HANDLE_DBC, h.connection, "cannot connect");
    h.connected = true;
    SQLSetConnectAttr(h.connection, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
    for (auto [info, target] : {std::pair<SQLUSMALLINT, std::string*>{SQL_DBMS_NAME, &m_serverName},
                                {SQL_DBMS_VER, &m_serverVersion}})
    {
        SQLCHAR value[256] = {};
        SQLSMALLINT length = 0;
        SQLGetInfo(h.connection, info, value, sizeof value, &length);
        *target = reinterpret_cast<const char*>(value);
    }
    return true;
}

void CDatabaseConnection::Close()
{
    Handles& h = *m_handles;
    if (h.connected)
        SQLDisconnect(h.connection);
    if (h.connection != SQL_NULL_HDBC)
        SQLFreeHandle(SQL_HANDLE_DBC, h.connection);
    if (h.environment != SQL_NULL_HENV)
        SQLFreeHandle(SQL_HANDLE_ENV, h.environment);
    h = Handles();
}

std::string CDatabaseConnection::WithAttribute(const std::string& connectionString, const std::string& keyword,
                                               const std::string& value)
{
    if (value.empty())
        return connectionString;
    std::string quoted;
    for (const char c : value)
        quoted += c == '}' ? std::string("}}") : std::string(1, c);
    const bool separated = connectionString.empty() || connectionString.back() == ';';
    return connectionString + (separated ? "" : ";") + keyword + "={" + quoted + "};";
}

bool CDatabaseConnection::IsPlainIdentifier(const std::string& name)
{
    if (name.empty() || name.size() > 63 || std::isdigit(static_cast<unsigned char>(name[0])))
        return false;
    for (const char c : name)
    {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    }
    return true;
}

bool CDatabaseConnection::EnsureTable(const std::string& table)
{
    if (!IsPlainIdentifier(table))
        return RefuseTableName(table);
    if (TableIsThere(table))
        return true;
    // SQL Server keeps text in NVARCHAR; the others take VARCHAR as text
    // of the database's encoding.
    const std::string text = m_serverName.find("SQL Server") != std::string::npos ? "NVARCHAR" : "VARCHAR";
    const std::string create = "CREATE TABLE " + table + " (station " + text + "(64) NOT NULL, " +
                               "sequence BIGINT NOT NULL, stamp " + text + "(19) NOT NULL, " +
                               "day_file " + text + "(32) NOT NULL, store_type SMALLINT NOT NULL, " +
                               "frame " + text + "(1000) NOT NULL, line " + text + "(1200) NOT NULL, " +
                               "PRIMARY KEY (station, sequence))";
    if ((Execute(create) && EndTransaction(true)) || RollBackAfterError())
        return true;
    // Another station may have made it meanwhile.
    const std::string error = m_error;
    const std::string state = m_state;
    if (TableIsThere(table))
        return true;
    m_error = error;
    m_state = state;
    return false;
}

bool CDatabaseConnection::TableIsThere(const std::string& table)
{
    if (Execute("SELECT 1 FROM " + table + " WHERE 1 = 0") && EndTransaction(true))
        return true;
    EndTransaction(false);
    return false;
}

bool CDatabaseConnection::InsertRows(const std::string& table, const std::string& station,
                                     const std::vector<ResultRow>& rows)
{
    if (!IsPlainIdentifier(table))
        return RefuseTableName(table);
    const SQLHSTMT statement = NewStatement();
    if (statement == SQL_NULL_HSTMT)
        return false;
    std::string insert = "INSERT INTO " + table +
                         " (station, sequence, stamp, day_file, store_type, frame, line) "
                         "VALUES (?, ?, ?, ?, ?, ?, ?)";
    bool inserted = SQL_SUCCEEDED(SQLPrepare(statement, reinterpret_cast<SQLCHAR*>(&insert[0]), SQL_NTS)) ||
                    Fail(SQL_HANDLE_STMT, statement, "cannot prepare the insert");
    for (size_t i = 0; inserted && i < rows.size(); ++i)
        inserted = InsertRow(statement, station, rows[i]);
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    return (inserted && EndTransaction(true) && StillConnected()) || RollBackAfterError();
}

// A driver may report a commit on a connection that the server has just
// dropped as done: such rows count as not sent, and go again (as a
// duplicate key if they did arrive).
bool CDatabaseConnection::StillConnected()
{
    SQLUINTEGER dead = SQL_CD_FALSE;
    if (SQL_SUCCEEDED(SQLGetConnectAttr(m_handles->connection, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) &&
        dead == SQL_CD_TRUE)
    {
        m_state.clear();
        m_nativeError = 0;
        m_error = "the connection was lost at the commit";
        return false;
    }
    return true;
}

bool CDatabaseConnection::InsertRow(void* handle, const std::string& station, const ResultRow& row)
{
    const SQLHSTMT statement = handle;
    std::u16string texts[] = {CodePage::ToUtf16(station), CodePage::ToUtf16(row.stamp),
                              CodePage::ToUtf16(row.dayFile), CodePage::ToUtf16(row.frame),
                              CodePage::ToUtf16(row.line)};
    SQLLEN lengths[5];
    const SQLUSMALLINT textColumns[] = {1, 3, 4, 6, 7};
    for (size_t i = 0; i < 5; ++i)
    {
        lengths[i] = static_cast<SQLLEN>(texts[i].size() * sizeof(char16_t));
        SQLBindParameter(statement, textColumns[i], SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                         texts[i].empty() ? 1 : texts[i].size(), 0,
                         reinterpret_cast<SQLPOINTER>(&texts[i][0]), lengths[i], &lengths[i]);
    }
    SQLBIGINT sequence = static_cast<SQLBIGINT>(row.sequence);
    SQLSMALLINT storeType = static_cast<SQLSMALLINT>(row.storeType);
    SQLBindParameter(statement, 2, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &sequence, 0, nullptr);
    SQLBindParameter(statement, 5, SQL_PARAM_INPUT, SQL_C_SSHORT, SQL_SMALLINT, 0, 0, &storeType, 0, nullptr);
    static_assert(ColumnCount == 7, "every column is bound");
    return SQL_SUCCEEDED(SQLExecute(statement)) || Fail(SQL_HANDLE_STMT, statement, "cannot insert");
}

bool CDatabaseConnection::HighestSequence(const std::string& table, const std::string& station, uint64_t& highest)
{
    std::u16string value;
    if (!IsPlainIdentifier(table))
        return RefuseTableName(table);
    if (!QueryStation("SELECT max(sequence) FROM " + table + " WHERE station = ?", station, 0, value))
        return false;
    highest = 0;
    for (const char16_t c : value)
        highest = highest * 10 + static_cast<uint64_t>(c - u'0');
    return true;
}

bool CDatabaseConnection::LineAt(const std::string& table, const std::string& station, uint64_t sequence,
                                 std::u16string& line)
{
    if (!IsPlainIdentifier(table))
        return RefuseTableName(table);
    return QueryStation("SELECT line FROM " + table + " WHERE station = ? AND sequence = ?", station, sequence,
                        line);
}

bool CDatabaseConnection::QueryStation(const std::string& query, const std::string& station, uint64_t sequence,
                                       std::u16string& value)
{
    value.clear();
    const SQLHSTMT statement = NewStatement();
    if (statement == SQL_NULL_HSTMT)
        return false;
    std::string text = query;
    std::u16string name = CodePage::ToUtf16(station);
    SQLLEN nameLength = static_cast<SQLLEN>(name.size() * sizeof(char16_t));
    SQLBIGINT number = static_cast<SQLBIGINT>(sequence);
    SQLBindParameter(statement, 1, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, name.empty() ? 1 : name.size(), 0,
                     reinterpret_cast<SQLPOINTER>(&name[0]), nameLength, &nameLength);
    if (sequence != 0)
        SQLBindParameter(statement, 2, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &number, 0, nullptr);
    bool done = SQL_SUCCEEDED(SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(&text[0]), SQL_NTS)) ||
                Fail(SQL_HANDLE_STMT, statement, "query failed");
    if (done && SQL_SUCCEEDED(SQLFetch(statement)))
    {
        char16_t buffer[2048] = {};
        SQLLEN length = 0;
        // A longer value (a column made wider elsewhere) comes cut.
        if (SQL_SUCCEEDED(SQLGetData(statement, 1, SQL_C_WCHAR, buffer, sizeof buffer, &length)) && length > 0)
            value.assign(buffer, std::min(static_cast<size_t>(length), sizeof buffer - sizeof(char16_t)) /
                                     sizeof(char16_t));
    }
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    return (done && EndTransaction(true)) || RollBackAfterError();
}

// A statement that gives up after the time-out; null (and the error
// kept) when none can be made.
void* CDatabaseConnection::NewStatement()
{
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_handles->connection, &statement)))
    {
        Fail(SQL_HANDLE_DBC, m_handles->connection, "no statement");
        return SQL_NULL_HSTMT;
    }
    SQLSetStmtAttr(statement, SQL_ATTR_QUERY_TIMEOUT,
                   reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(m_timeoutSeconds)), 0);
    return statement;
}

bool CDatabaseConnection::Execute(const std::string& text)
{
    const SQLHSTMT statement = NewStatement();
    if (statement == SQL_NULL_HSTMT)
        return false;
    std::string copy = text;
    const bool done = SQL_SUCCEEDED(SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(&copy[0]), SQL_NTS)) ||
                      Fail(SQL_HANDLE_STMT, statement, "statement failed");
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    return done;
}

bool CDatabaseConnection::EndTransaction(bool commit)
{
    return SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, m_handles->connection, commit ? SQL_COMMIT : SQL_ROLLBACK)) ||
           Fail(SQL_HANDLE_DBC, m_handles->connection, commit ? "cannot commit" : "cannot roll back");
}

bool CDatabaseConnection::RefuseTableName(const std::string& table)
{
    m_state.clear();
    m_nativeError = 0;
    m_error = "the table name \"" + table + "\" is not a plain name";
    return false;
}

// Takes the transaction back, keeping the error that made it fail.
bool CDatabaseConnection::RollBackAfterError()
{
    const std::string error = m_error;
    const std::string state = m_state;
    const long native = m_nativeError;
    EndTransaction(false);
    m_error = error;
    m_state = state;
    m_nativeError = native;
    return false;
}

// The first diagnostic record, in the driver's words: "SQLSTATE: message".
bool CDatabaseConnection::Fail(short handleType, void* handle, const std::string& what)
{
    SQLCHAR state[6] = {};
    SQLCHAR message[1024] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    if (handle && SQL_SUCCEEDED(SQLGetDiagRec(handleType, handle, 1, state, &native, message,
                                              sizeof message, &length)))
    {
        m_nativeError = native;
        m_state = reinterpret_cast<const char*>(state);
        m_error = m_state + ": " + reinterpret_cast<const char*>(message);
        // A connection string with a brace left open can carry the
        // password into the driver's message.
        for (size_t at; !m_password.empty() && (at = m_error.find(m_password)) != std::string::npos;)
            m_error.replace(at, m_password.size(), "***");
    }
    else
    {
        m_nativeError = 0;
        m_state.clear();
        m_error = what;
    }
    return false;
}

bool CDatabaseConnection::FailedOnDuplicateKey() const
{
    return m_state == "23505" || (m_state == "23000" && (m_nativeError == 2627 || m_nativeError == 2601));
}
