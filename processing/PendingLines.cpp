#include "processing/PendingLines.h"

#include <algorithm>
#include <iterator>
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

// The oldest line of a file goes first, alone: a file that stays
// unwritable costs one attempt a call, not a copy of all its lines.  The
// rest follow in one write (a hundred thousand lines kept from the last run
// are one write, not one open, write and flush a line).
void CPendingLines::WriteOut(const Appender& append)
{
    for (auto file = m_files.begin(); file != m_files.end();)
    {
        std::deque<Waiting>& waiting = file->second;
        if (!append({waiting.front().line}))
        {
            ++file;
            continue;
        }
        PopWritten(waiting, 1);
        std::vector<Line> rest;
        for (const Waiting& entry : waiting)
            rest.push_back(entry.line);
        if (!rest.empty() && append(rest))
            PopWritten(waiting, rest.size());
        file = waiting.empty() ? m_files.erase(file) : std::next(file);
    }
}

void CPendingLines::PopWritten(std::deque<Waiting>& lines, size_t count)
{
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(count));
    m_size -= count;
    m_written += count;
}

void CPendingLines::MoveToDirectory(const std::string& directory)
{
    // The lines of a file share its folder: one look a file, on every frame.
    if (std::all_of(m_files.begin(), m_files.end(),
                    [&](const auto& file) { return file.second.front().line.directory == directory; }))
        return;
    FileLines moved;
    for (const Waiting* entry : SortedFrom(0))
    {
        Waiting copy = *entry;
        if (copy.line.directory != directory)
        {
            const size_t name = copy.line.path.find_last_of('\\');
            copy.line.path = directory + copy.line.path.substr(name == std::string::npos ? 0 : name + 1);
            copy.line.directory = directory;
        }
        moved[copy.line.path].push_back(std::move(copy));
    }
    m_files = std::move(moved);
}

std::vector<const CPendingLines::Waiting*> CPendingLines::SortedFrom(uint64_t first) const
{
    std::vector<const Waiting*> waiting;
    for (const auto& file : m_files)
    {
        for (const Waiting& entry : file.second)
        {
            if (entry.sequence >= first)
                waiting.push_back(&entry);
        }
    }
    std::sort(waiting.begin(), waiting.end(),
              [](const Waiting* a, const Waiting* b) { return a->sequence < b->sequence; });
    return waiting;
}

std::vector<CPendingLines::Line> CPendingLines::Lines() const
{
    return LinesFrom(0);
}

std::vector<CPendingLines::Line> CPendingLines::LinesFrom(uint64_t first) const
{
    std::vector<Line> lines;
    for (const Waiting* entry : SortedFrom(first))
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
