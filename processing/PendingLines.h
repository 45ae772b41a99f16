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
    // Appends lines of one file, all of them or none; false when it could not.
    using Appender = std::function<bool(const std::vector<Line>&)>;

    explicit CPendingLines(size_t bound = DefaultBound);
    virtual ~CPendingLines() = default;

    // Queues the line; returns how many old lines were dropped for it.
    size_t Push(Line line);
    // Hands each file's lines to append in one go, oldest first; the lines
    // of a file that fails stay.
    void WriteOut(const Appender& append);
    // Lines of other folders go to the same day file in this one, in order
    // among its own: a folder corrected in the settings takes them.
    void MoveToDirectory(const std::string& directory);
    bool IsEmpty() const { return m_size == 0; }
    size_t Size() const { return m_size; }
    // True when a waiting line belongs in the file of that path.
    bool HoldsLineFor(const std::string& path) const { return m_files.count(path) != 0; }
    // Every waiting line, oldest first, as Push received them.
    std::vector<Line> Lines() const;
    // The waiting lines that came with the Push numbered `first` (from 0)
    // or later, oldest first.
    std::vector<Line> LinesFrom(uint64_t first) const;
    // How many lines Push has taken, and how many WriteOut has written.
    uint64_t PushedCount() const { return m_nextSequence; }
    uint64_t WrittenCount() const { return m_written; }
    // The file of the oldest waiting line; empty when none waits.
    std::string OldestPath() const;

private:
    struct Waiting
    {
        uint64_t sequence;
        Line line;
    };
    using FileLines = std::map<std::string, std::deque<Waiting>>;

    std::vector<const Waiting*> SortedFrom(uint64_t first) const;
    FileLines::const_iterator OldestFile() const;
    void DropOldest();
    void PopWritten(std::deque<Waiting>& lines, size_t count);
    void PopFront(FileLines::iterator file);

    size_t m_bound;
    size_t m_size = 0;
    uint64_t m_nextSequence = 0;
    uint64_t m_written = 0;
    FileLines m_files;
};
