#pragma once
#include "processing/ErrorLog.h"
#include "processing/LocalTime.h"
#include "processing/PendingLines.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CReceiverSettings;

// Turns frames into result lines: picks the selected fields out of a frame
// and appends the line of the configured store type to the day's result
// file.  A line that cannot be written waits, already stamped, and goes to
// its file before any later line of that file.
class CFrameStore
{
public:
    static constexpr unsigned Success = 0;
    static constexpr unsigned Failure = 65535;

    explicit CFrameStore(size_t pendingBound = CPendingLines::DefaultBound,
                         LocalTimeSource clock = LocalTime::SystemNow);
    virtual ~CFrameStore() = default;

    void SetSeparators(const std::string& input, const std::string& output);

    // 0 when the frame has at least three fields, 65535 otherwise.  For the
    // selected-fields store types the selected text is rebuilt: the selected
    // fields, each followed by " ", the output separator and " ", trimmed.
    unsigned SelectFields(const std::string& frame, std::string& selected,
                          const CReceiverSettings& settings) const;

    // True when today's result file exists or a waiting or grouped line
    // belongs in it.
    bool FileExistsToday(const std::string& directory, const std::string& extension) const;

    // Composes the line of the store type for today's result file into the
    // group; line receives it.  Returns the line's place in the group.
    size_t AddResult(const std::string& directory, const std::string& extension,
                     const std::string& frame, const std::string& selected, int storeType,
                     std::string& line);
    // Appends the group's lines after the lines that wait for their files,
    // each file's lines in one append and one flush, and empties the group.
    // One flag a line, in the group's order: true when it is in its file,
    // false when it has to wait.
    std::vector<bool> CommitGroup();
    // A group of one line: 0 when the line is in the file; 65535 when it
    // has to wait.
    unsigned WriteResult(const std::string& directory, const std::string& extension,
                         const std::string& frame, const std::string& selected, int storeType,
                         std::string& line);

    size_t PendingCount() const { return m_pending.Size(); }
    // The file that holds back the oldest waiting line; empty when none waits.
    std::string OldestWaitingFile() const { return m_pending.OldestPath(); }
    // The waiting lines, oldest first, so that they can outlive the process;
    // those queued as the `first` line ever queued (from 0) or later.
    std::vector<CPendingLines::Line> WaitingLines(uint64_t first = 0) const { return m_pending.LinesFrom(first); }
    // How many lines have ever been queued, and how many of them written.
    uint64_t QueuedCount() const { return m_pending.PushedCount(); }
    uint64_t WrittenFromQueueCount() const { return m_pending.WrittenCount(); }
    // Waiting lines go to the day files of this results folder: the one of
    // the current settings, which a technician may have corrected.
    void MoveWaitingLines(const std::string& directory);
    // Queues lines kept from an earlier run behind those waiting now.
    void AddWaitingLines(const std::vector<CPendingLines::Line>& lines);
    // Appends the waiting lines that can be written now.
    void WritePending();

private:
    CErrorLog::DayLine ComposeResult(const CErrorLog& writer, const std::string& frame,
                                     const std::string& selected, int storeType) const;
    void Queue(CPendingLines::Line line);
    bool GroupHoldsLineFor(const std::string& path) const;

    // Lines composed since the last commit, in order.
    std::vector<CPendingLines::Line> m_group;

    std::string m_inputSeparator = ";";
    std::string m_outputSeparator = "\t";
    CPendingLines m_pending;
    size_t m_droppedWhileWaiting = 0;
    LocalTimeSource m_clock;
};
