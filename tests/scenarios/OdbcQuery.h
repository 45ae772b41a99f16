#pragma once
#include <string>
#include <vector>

// The rows of a query through ODBC, each row's columns joined by '|', text
// in the Windows code page; one row "error: ..." when the query failed.
std::vector<std::string> OdbcRows(const std::string& connectionString, const std::string& query);
