#include "tests/scenarios/OdbcQuery.h"

#include <windows.h>
#include <sql.h>
#include <sqlext.h>

namespace
{
std::string Ansi(const wchar_t* text, SQLLEN bytes)
{
    const int length = static_cast<int>(bytes / static_cast<SQLLEN>(sizeof(wchar_t)));
    std::string ansi(static_cast<size_t>(length) * 2 + 1, '\0');
    const int size = WideCharToMultiByte(CP_ACP, 0, text, length, &ansi[0], static_cast<int>(ansi.size()),
                                         nullptr, nullptr);
    ansi.resize(size > 0 ? static_cast<size_t>(size) : 0);
    return ansi;
}
}

// The unsuffixed ANSI names: Wine's odbc32 has no "A" entry points.
std::vector<std::string> OdbcRows(const std::string& connectionString, const std::string& query)
{
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    SQLHSTMT statement = SQL_NULL_HSTMT;
    std::vector<std::string> rows;
    std::string text = connectionString, sql = query;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment);
    SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection);
    SQLSetConnectAttr(connection, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(10), 0);
    if (!SQL_SUCCEEDED(SQLDriverConnect(connection, nullptr, reinterpret_cast<SQLCHAR*>(&text[0]), SQL_NTS, nullptr,
                                        0, nullptr, SQL_DRIVER_NOPROMPT)) ||
        !SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement)) ||
        !SQL_SUCCEEDED(SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(&sql[0]), SQL_NTS)))
    {
        rows.push_back("error: " + query);
    }
    else
    {
        SQLSMALLINT columns = 0;
        SQLNumResultCols(statement, &columns);
        while (SQL_SUCCEEDED(SQLFetch(statement)))
        {
            std::string row;
            for (SQLUSMALLINT column = 1; column <= columns; ++column)
            {
                wchar_t value[2048] = {};
                SQLLEN length = 0;
                SQLGetData(statement, column, SQL_C_WCHAR, value, sizeof value, &length);
                row += (column > 1 ? "|" : "") + (length > 0 ? Ansi(value, length) : std::string());
            }
            rows.push_back(row);
        }
    }
    if (statement != SQL_NULL_HSTMT)
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
    SQLDisconnect(connection);
    SQLFreeHandle(SQL_HANDLE_DBC, connection);
    SQLFreeHandle(SQL_HANDLE_ENV, environment);
    return rows;
}
