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

std::vector<CPendingLines::Line> CPendingLines::Lines() const
{
    std::vector<const Waiting*> waiting;
    for (const auto& file : m_files)
    {
        for (const Waiting& entry : file.second)
            waiting.push_back(&entry);
    }
    std::sort(waiting.begin(), waiting.end(),
              [](const Waiting* a, const Waiting* b) { return a->sequence < b->sequence; });
    std::vector<Line> lines;
    for (const Waiting* entry : waiting)
        lines.push_back(entry->line);
    return lines;
}

std::string CPendingLines::OldestPath() const
{
    const auto oldest = OldestFile();
    return oldest == m_files.end() ? std::string() : oldest->first;
}

// There are only as many files as days and folders with waiting lines, so
// looking at the front of each is cheap.
CPendingLines::FileLines::const_iterator CPendingLines::OldestFile() const
{
    auto oldest = m_files.begin();
    for (auto file = m_files.begin(); file != m_files.end(); ++file)
    {
        if (file->second.front().sequence < oldest->second.front().sequence)
            oldest = file;
    }
    return oldest;
}

void CPendingLines::DropOldest()
{
    const auto oldest = OldestFile();
    if (oldest != m_files.end())
        PopFront(m_files.find(oldest->first));
}

void CPendingLines::PopFront(FileLines::iterator file)
{
    file->second.pop_front();
    --m_size;
    if (file->second.empty())
        m_files.erase(file);
}
