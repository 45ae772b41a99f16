#pragma once
#include "printing/PrintRecord.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// What the storing thread has for the window, kept until the window takes
// it: list lines, the stored line, the lamp and printouts.  The window is
// told once (`notify`, on the adding thread, which must never wait for
// the window) when the first of them comes after it last took them, and
// takes everything in one go.  While it is behind, only the list lines it
// can still show are kept; printouts wait in a queue of their own, which
// refuses them when full.
class CViewUpdates
{
public:
    struct Batch
    {
        std::vector<std::string> listLines;  // oldest first
        bool storedLineChanged = false;
        std::string storedLine;
        bool indicator = false;
    };

    CViewUpdates(size_t listLines, size_t printouts);
    CViewUpdates(const CViewUpdates&) = delete;
    CViewUpdates& operator=(const CViewUpdates&) = delete;

    // Before anything is added.
    void SetNotify(std::function<void()> notify) { m_notify = std::move(notify); }
    void AddListLine(std::string text);
    void SetStoredLine(std::string text);
    void SwitchIndicatorOn();
    // False when the queue is full: the printout is skipped.
    bool QueuePrintout(const PrintRecord& record);

    Batch Take();
    // The window could not be told: the next change tells it again.
    void Rearm();
    // The oldest waiting printout; false when none waits.
    bool TakePrintout(PrintRecord& record);

private:
    // Makes the change under the lock, then tells the window when it is
    // the first since the window last took them; false, and nothing told,
    // when `change` refuses.
    template <class Apply>
    bool Change(Apply change)
    {
        bool due = false;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (!change())
                return false;
            due = !std::exchange(m_notified, true);
        }
        if (due && m_notify)
            m_notify();
        return true;
    }

    const size_t m_listBound;
    const size_t m_printoutBound;
    std::function<void()> m_notify;
    std::mutex m_mutex;
    std::deque<std::string> m_listLines;
    bool m_storedLineChanged = false;
    std::string m_storedLine;
    bool m_indicator = false;
    std::deque<PrintRecord> m_printouts;
    bool m_notified = false;
};
