#include "app/ResultDatabase.h"

#include "processing/ErrorLog.h"

#include <utility>

CResultDatabase::CResultDatabase(const std::string& name, LocalTimeSource clock)
    : m_name(name), m_clock(std::move(clock))
{
}

CResultDatabase::~CResultDatabase()
{
    CErrorLog log(CErrorLog::DefaultDirectory, CErrorLog::DefaultExtension, m_clock);
    log.Write(DisconnectEntry, TimestampStyle::Full);
}
