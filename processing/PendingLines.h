#pragma once
#include <cstddef>
#include <deque>
#include <string>
#include <unordered_map>

// Result lines that could not be written yet, oldest first, each with the
// day file it belongs in.  The queue holds at most `bound` lines; room for
// a new line is made by dropping the oldest.
class CPendingLines
{
public:
    static constexpr size_t DefaultBound = 100000;

    struct Line
    {
        std::string directory;
        std::string path;
        std::string text;
    };

    explicit CPendingLines(size_t bound = DefaultBound);
    virtual ~CPendingLines() = default;

    // Queues the line; returns how many old lines were dropped for it.
    size_t Push(Line line);
    bool IsEmpty() const { return m_lines.empty(); }
    size_t Size() const { return m_lines.size(); }
    const Line& Oldest() const { return m_lines.front(); }
    void PopOldest();
    // True when a waiting line belongs in the file of that path.
    bool HoldsLineFor(const std::string& path) const;

private:
    size_t m_bound;
    std::deque<Line> m_lines;
    std::unordered_map<std::string, size_t> m_linesPerPath;
};
