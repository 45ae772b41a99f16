#include "processing/PendingLines.h"

#include <algorithm>
#include <utility>

CPendingLines::CPendingLines(size_t bound) : m_bound(std::max<size_t>(bound, 1))
{
}

size_t CPendingLines::Push(Line line)
{
    size_t dropped = 0;
    while (m_lines.size() >= m_bound)
    {
        PopOldest();
        ++dropped;
    }
    ++m_linesPerPath[line.path];
    m_lines.push_back(std::move(line));
    return dropped;
}

void CPendingLines::PopOldest()
{
    if (m_lines.empty())
        return;
    const auto count = m_linesPerPath.find(m_lines.front().path);
    if (--count->second == 0)
        m_linesPerPath.erase(count);
    m_lines.pop_front();
}

bool CPendingLines::HoldsLineFor(const std::string& path) const
{
    return m_linesPerPath.count(path) != 0;
}
