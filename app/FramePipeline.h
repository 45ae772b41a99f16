#pragma once
#include "app/CountdownTimer.h"
#include "app/FrameView.h"
#include "app/ViewUpdates.h"
#include "app/WaitingLinesFile.h"
#include "processing/LocalTime.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class CFrameStore;
class CResultDatabase;
class CPrintSettings;
class CReceiverSettings;
class CTicketPrinter;

// Carries every frame from the link to its results: trims it, selects its
// fields, counts it, writes it to the day file (with a header line when a
// selected-fields file begins), and only then hands it to the window, to
// be shown and printed.  It runs on the thread of the link that delivers
// the frames, never waiting for the window: the frames one read brought
// are stored together, with one flush a file, and the window takes what
// they show from Updates() when told (IFrameView::UpdatesWaiting).  The
// settings it reads change only through ApplySettings.
class CFramePipeline
{
public:
    static constexpr const char* JobFileName = "VorlFrame2Printer.txt";
    static constexpr const char* DefaultFormatErrorText = "Frame format error !!!";
    static constexpr int CounterLimit = 99999;
    // The list keeps one line more than this.
    static constexpr int ListLineLimit = 10000;
    // A damaged print setup must not keep the printer (and the link) busy
    // for days.
    static constexpr int MaxCopies = 100;
    static constexpr int HeaderGuardMilliseconds = 1000;
    // Printouts the printer has not taken yet; more are skipped.
    static constexpr size_t PrintoutLimit = 500;

    CFramePipeline(IFrameView& view, CReceiverSettings& settings, CPrintSettings& printSettings,
                   CFrameStore& store, CTicketPrinter& printer,
                   LocalTimeSource clock = LocalTime::SystemNow,
                   const std::string& waitingLinesPath = CWaitingLinesFile::DefaultName);
    virtual ~CFramePipeline() = default;
    CFramePipeline(const CFramePipeline&) = delete;
    CFramePipeline& operator=(const CFramePipeline&) = delete;

    // What the pipeline tells the operator, in the language of the window;
    // "%1" and "%2" stand for the values.
    struct Notices
    {
        std::string formatError = DefaultFormatErrorText;  // the stored line of a rejected frame
        std::string cannotBeWritten = "Result lines cannot be written to %1: %2 line(s) waiting";
        std::string waitingWritten = "The waiting result lines have been written";
        std::string waitingRestored =
            "%1 result line(s) left waiting at the last exit have been restored from %2";
        std::string damagedKept = "; %1 damaged record(s) kept in %2";
        std::string waitingStay =
            "%1 result line(s) left waiting at the last exit stay in %2, which cannot be rewritten";
        std::string printoutsSkipped = "%1 printout(s) skipped: the printer could not keep up";
    };
    void SetNotices(const Notices& notices) { m_notices = notices; }

    // Trims the frames in place and stores them as one group; for each, 0
    // when its line went into the day file, otherwise the non-zero result
    // of the selection or of the write.
    std::vector<int> HandleFrames(std::vector<std::string>& frames);
    int HandleFrame(std::string& frame);
    // A line of the link or the window, after the frames before it.
    void AddToFrameList(const std::string& text) { m_updates.AddListLine(text); }
    CViewUpdates& Updates() { return m_updates; }
    // On the window's thread: the printout's copies, through the view.
    void Print(const PrintRecord& record);
    // The operator's entries, as the printouts of later frames show them.
    void SetPrintFields(const PrintFields& fields);
    // At exit: the printouts the printer has not taken are given up, and
    // the error log says how many.
    void DropWaitingPrintouts();
    // From the window's thread, between two groups of frames.
    void ApplySettings(const CReceiverSettings& settings);
    // Before the first frame: the central database that gets a copy of
    // every line while it is enabled.
    void SetResultDatabase(CResultDatabase* database) { m_database = database; }
    int FrameCounter() const { return m_frameCounter; }
    void ResetFrameCounter() { m_frameCounter = 0; }
    // The count continues from this value (tests start near the wrap).
    void SetFrameCounter(int value) { m_frameCounter = value; }

    // Lines that waited for their files at the last run go back into the
    // queue (once the window is up) and the file keeps them until they are
    // written; at exit (after the links are closed) whatever can be written
    // is, and the file keeps the rest.
    void RestoreWaitingLines();
    void SaveWaitingLines();

    // Drops what follows a NUL, trailing white space and leading STX.
    static void TrimFrame(std::string& frame);

private:
    // A frame on its way through the group: its line's place in the
    // group, or its result when it has no line.
    struct Staged
    {
        size_t line;
        int result;
        std::string stored;
    };
    static constexpr size_t NoLine = static_cast<size_t>(-1);

    Staged StageFrame(std::string& frame, bool wholeFrame);
    void CountFrame();
    void AddHeaderIfNew(const std::string& directory, const std::string& extension);
    void QueuePrintout(const std::string& stored, const std::string& stamp);
    void CopyToDatabase(const std::vector<std::string>& frames, const std::vector<Staged>& staged,
                        const std::string& stamp);
    void ReportWaitingLines();
    // Makes the waiting-lines file hold exactly the lines that wait; false
    // when it could not be written.
    bool SyncWaitingFile();
    bool WriteWaitingLines();
    void Notify(const std::string& text);

    IFrameView& m_view;
    CReceiverSettings& m_settings;
    CPrintSettings& m_printSettings;
    CFrameStore& m_store;
    CTicketPrinter& m_printer;
    CResultDatabase* m_database = nullptr;
    LocalTimeSource m_clock;
    CWaitingLinesFile m_waitingFile;
    CViewUpdates m_updates;
    // Held while frames are stored, and by whatever else touches the
    // settings, the store or the waiting-lines file.
    std::mutex m_mutex;
    // Typing never waits for a group being flushed.
    std::mutex m_printFieldsMutex;
    PrintFields m_printFields;
    size_t m_skippedPrintouts = 0;
    // Read by the window while the link's thread counts.
    std::atomic<int> m_frameCounter{0};
    CCountdownTimer m_headerGuard;
    Notices m_notices;
    bool m_waitingReported = false;
    bool m_fileHoldsLines = false;
    // The file holds lines of an earlier run that could not be taken back.
    bool m_fileUntouchable = false;
    // The store's queue counts as far as the file has followed them.
    uint64_t m_recordedUpTo = 0;
    uint64_t m_writtenSeen = 0;
};
