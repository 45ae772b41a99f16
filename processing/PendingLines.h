#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Result lines that could not be written yet, each with the day file it
// belongs in.  Lines keep their order within their file; a file that stays
// unwritable (a drive gone, a file locked since yesterday) holds back only
// its own lines.  At most `bound` lines wait; room for a new one is made by
// dropping the oldest of all.
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
    // Appends one line to its file; false when it could not.
    using Appender = std::function<bool(const Line&)>;

    explicit CPendingLines(size_t bound = DefaultBound);
    virtual ~CPendingLines() = default;

    // Queues the line; returns how many old lines were dropped for it.
    size_t Push(Line line);
    // Hands every file's lines to append, oldest first, up to the first
    // line of that file that fails.
    void WriteOut(const Appender& append);
    bool IsEmpty() const { return m_size == 0; }
    size_t Size() const { return m_size; }
    // True when a waiting line belongs in the file of that path.
    bool HoldsLineFor(const std::string& path) const { return m_files.count(path) != 0; }
    // Every waiting line, oldest first, as Push received them.
    std::vector<Line> Lines() const;
    // The file of the oldest waiting line; empty when none waits.
    std::string OldestPath() const;

private:
    struct Waiting
    {
        uint64_t sequence;
        Line line;
    };
    using FileLines = std::map<std::string, std::deque<Waiting>>;

    FileLines::const_iterator OldestFile() const;
    void DropOldest();
    void PopFront(FileLines::iterator file);

    size_t m_bound;
    size_t m_size = 0;
    uint64_t m_nextSequence = 0;
    FileLines m_files;
};
