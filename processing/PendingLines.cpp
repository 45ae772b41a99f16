#include "processing/PendingLines.h"

#include <algorithm>
#include <utility>

CPendingLines::CPendingLines(size_t bound) : m_bound(std::max<size_t>(bound, 1))
{
}

size_t CPendingLines::Push(Line line)
{
    size_t dropped = 0;
    for (; m_size >= m_bound; ++dropped)
        DropOldest();
    std::deque<Waiting>& lines = m_files[line.path];
    lines.push_back({m_nextSequence++, std::move(line)});
    ++m_size;
    return dropped;
}

void CPendingLines::WriteOut(const Appender& append)
{
    for (auto file = m_files.begin(); file != m_files.end();)
    {
        const auto next = std::next(file);
        while (append(file->second.front().line))
        {
            const bool wasLast = file->second.size() == 1;
            PopFront(file);
            if (wasLast)
                break;
        }
        file = next;
    }
}

// There are only as many files as days and folders with waiting lines, so
// looking at the front of each is cheap.
void CPendingLines::DropOldest()
{
    auto oldest = m_files.begin();
    for (auto file = m_files.begin(); file != m_files.end(); ++file)
    {
        if (file->second.front().sequence < oldest->second.front().sequence)
            oldest = file;
    }
    if (oldest != m_files.end())
        PopFront(oldest);
}

void CPendingLines::PopFront(FileLines::iterator file)
{
    file->second.pop_front();
    --m_size;
    if (file->second.empty())
        m_files.erase(file);
}
