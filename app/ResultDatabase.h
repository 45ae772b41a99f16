#pragma once
#include "processing/LocalTime.h"

#include <string>

// The results database of the main window.  It is never opened; the end of
// its life is recorded in the error log as a disconnection.
class CResultDatabase
{
public:
    static constexpr const char* DisconnectEntry = "IDS_DB_DISCONNECT";

    explicit CResultDatabase(const std::string& name = "DataBase",
                             LocalTimeSource clock = LocalTime::SystemNow);
    virtual ~CResultDatabase();
    CResultDatabase(const CResultDatabase&) = delete;
    CResultDatabase& operator=(const CResultDatabase&) = delete;

    const std::string& Name() const { return m_name; }

private:
    std::string m_name;
    LocalTimeSource m_clock;
};
