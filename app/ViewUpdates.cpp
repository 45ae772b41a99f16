#include "app/ViewUpdates.h"

#include <utility>

CViewUpdates::CViewUpdates(size_t listLines, size_t printouts)
    : m_listBound(listLines), m_printoutBound(printouts)
{
}

void CViewUpdates::AddListLine(std::string text)
{
    Change([&] {
        m_listLines.push_back(std::move(text));
        if (m_listLines.size() > m_listBound)
            m_listLines.pop_front();
        return true;
    });
}

void CViewUpdates::SetStoredLine(std::string text)
{
    Change([&] {
        m_storedLine = std::move(text);
        m_storedLineChanged = true;
        return true;
    });
}

void CViewUpdates::SwitchIndicatorOn()
{
    Change([&] { return m_indicator = true; });
}

bool CViewUpdates::QueuePrintout(const PrintRecord& record)
{
    return Change([&] {
        if (m_printouts.size() >= m_printoutBound)
            return false;
        m_printouts.push_back(record);
        return true;
    });
}

CViewUpdates::Batch CViewUpdates::Take()
{
    Batch batch;
    const std::lock_guard<std::mutex> lock(m_mutex);
    batch.listLines.assign(std::make_move_iterator(m_listLines.begin()),
                           std::make_move_iterator(m_listLines.end()));
    m_listLines.clear();
    batch.storedLineChanged = std::exchange(m_storedLineChanged, false);
    batch.storedLine = m_storedLine;
    batch.indicator = std::exchange(m_indicator, false);
    m_notified = false;
    return batch;
}

void CViewUpdates::Rearm()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_notified = false;
}

bool CViewUpdates::TakePrintout(PrintRecord& record)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_printouts.empty())
        return false;
    record = m_printouts.front();
    m_printouts.pop_front();
    return true;
}
