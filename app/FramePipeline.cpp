#include "app/FramePipeline.h"

#include "app/ResultDatabase.h"
#include "printing/PrintRecord.h"
#include "printing/PrintSettings.h"
#include "processing/ErrorLog.h"
#include "processing/NoticeText.h"
#include "processing/FrameStore.h"
#include "processing/ReceiverSettings.h"

#include <algorithm>
#include <utility>

namespace
{
const char* const WhiteSpace = " \t\r\n\v\f";
const char Stx = '\x02';

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(WhiteSpace);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(WhiteSpace) - first + 1);
}

std::string WithBlanksForTabs(std::string text)
{
    std::replace(text.begin(), text.end(), '\t', ' ');
    return text;
}

bool KeepsWholeFrame(int storeType)
{
    return storeType == CReceiverSettings::OriginalFrame ||
           storeType == CReceiverSettings::OriginalFrameDate;
}

bool HeaderHasDate(int storeType)
{
    return storeType == CReceiverSettings::SelectedFieldsDate ||
           storeType == CReceiverSettings::OriginalFrameDate;
}
}

CFramePipeline::CFramePipeline(IFrameView& view, CReceiverSettings& settings,
                               CPrintSettings& printSettings, CFrameStore& store,
                               CTicketPrinter& printer, LocalTimeSource clock,
                               const std::string& waitingLinesPath)
    : m_view(view), m_settings(settings), m_printSettings(printSettings), m_store(store),
      m_printer(printer), m_clock(std::move(clock)), m_waitingFile(waitingLinesPath),
      m_updates(ListLineLimit + 1, PrintoutLimit)
{
    m_updates.SetNotify([this] { m_view.UpdatesWaiting(); });
    m_headerGuard.SetUnit(0);
    m_headerGuard.Start(0);
}

// A frame from a link is a C string; whatever a NUL hides was never seen by
// the list or the printer, so the file must not get it either.
void CFramePipeline::TrimFrame(std::string& frame)
{
    const size_t nul = frame.find('\0');
    if (nul != std::string::npos)
        frame.erase(nul);
    const size_t last = frame.find_last_not_of(WhiteSpace);
    frame.erase(last == std::string::npos ? 0 : last + 1);
    frame.erase(0, frame.find_first_not_of(Stx));
}

std::vector<int> CFramePipeline::HandleFrames(std::vector<std::string>& frames)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    std::string input;
    std::string output;
    m_settings.GetSeparatorTexts(input, output);
    m_store.SetSeparators(input, output);
    const bool wholeFrame = KeepsWholeFrame(m_settings.m_storeType);
    std::vector<Staged> staged;
    for (std::string& frame : frames)
        staged.push_back(StageFrame(frame, wholeFrame));
    const std::vector<bool> written = m_store.CommitGroup();
    SyncWaitingFile();
    // The moment the group was stored, for the database and the printouts.
    const std::string stamp = LocalTime::Format(m_clock(), "%d/%m/%Y %H:%M:%S");
    CopyToDatabase(frames, staged, stamp);

    // Only now, with the lines on disk, does the window hear of them.
    std::vector<int> results;
    bool anyWritten = false;
    for (size_t i = 0; i < frames.size(); ++i)
    {
        if (staged[i].line != NoLine)
            staged[i].result = written[staged[i].line] ? CFrameStore::Success : CFrameStore::Failure;
        anyWritten = anyWritten || staged[i].result == 0;
        results.push_back(staged[i].result);
        m_updates.AddListLine(WithBlanksForTabs(frames[i]));
    }
    // The indicator means "these frames' lines are on disk"; older lines of
    // their file went before them.
    if (anyWritten)
        m_updates.SwitchIndicatorOn();
    ReportWaitingLines();
    if (m_settings.m_printOut)
    {
        for (const Staged& frame : staged)
            QueuePrintout(frame.stored, stamp);
    }
    if (!staged.empty())
        m_updates.SetStoredLine(WithBlanksForTabs(staged.back().stored));
    return results;
}

int CFramePipeline::HandleFrame(std::string& frame)
{
    std::vector<std::string> frames{std::move(frame)};
    const int result = HandleFrames(frames).front();
    frame = std::move(frames.front());
    return result;
}

CFramePipeline::Staged CFramePipeline::StageFrame(std::string& frame, bool wholeFrame)
{
    TrimFrame(frame);
    Staged staged{NoLine, static_cast<int>(CFrameStore::Success), m_notices.formatError};
    std::string selected = frame;
    if (!wholeFrame)
        staged.result = static_cast<int>(m_store.SelectFields(frame, selected, m_settings));
    if (staged.result != static_cast<int>(CFrameStore::Success))
        return staged;
    CountFrame();
    const std::string directory = m_settings.GetDirectory();
    const std::string extension = m_settings.GetExtension();
    if (!wholeFrame)
        AddHeaderIfNew(directory, extension);
    staged.line = m_store.AddResult(directory, extension, frame, selected, m_settings.m_storeType,
                                    staged.stored);
    return staged;
}

// Every frame that has a result line, written or waiting for its file,
// with the moment it was stored.
void CFramePipeline::CopyToDatabase(const std::vector<std::string>& frames, const std::vector<Staged>& staged,
                                    const std::string& stamp)
{
    if (!m_database || !m_database->Enabled())
        return;
    const std::string dayFile = LocalTime::Format(m_clock(), "%Y-%m-%d") + m_settings.GetExtension();
    std::vector<ResultRow> rows;
    for (size_t i = 0; i < frames.size(); ++i)
    {
        if (staged[i].line != NoLine)
            rows.push_back({0, stamp, dayFile, m_settings.m_storeType, frames[i], staged[i].stored});
    }
    if (!rows.empty())
        m_database->Record(rows);
}

// The window may reset the counter meanwhile: a reset is never undone.
void CFramePipeline::CountFrame()
{
    int count = m_frameCounter;
    while (!m_frameCounter.compare_exchange_weak(count, count >= CounterLimit ? 0 : count + 1))
    {
    }
}

void CFramePipeline::AddHeaderIfNew(const std::string& directory, const std::string& extension)
{
    // Lines that wait for another folder join this one first, so that a
    // header among them counts for its file.
    m_store.MoveWaitingLines(directory);
    if (m_headerGuard.Remaining() != 0 || m_store.FileExistsToday(directory, extension))
        return;
    std::string header;
    m_settings.BuildHeader(header, HeaderHasDate(m_settings.m_storeType));
    std::string written;
    m_store.AddResult(directory, extension, header, std::string(), CReceiverSettings::OriginalFrame,
                      written);
    m_headerGuard.Start(HeaderGuardMilliseconds);
}

// The printout shows the operator's entries and the time of the moment its
// frame was stored, however long it waits for the printer.
void CFramePipeline::QueuePrintout(const std::string& stored, const std::string& stamp)
{
    PrintRecord record{};
    {
        const std::lock_guard<std::mutex> lock(m_printFieldsMutex);
        FillPrintSlot(record.operatorName, Trimmed(m_printFields.operatorName));
        FillPrintSlot(record.serialNumber, m_printFields.serialNumber);
        FillPrintSlot(record.comment, m_printFields.comment);
    }
    FillPrintSlot(record.dateTime, stamp);
    FillPrintSlot(record.frame, stored);
    if (!m_updates.QueuePrintout(record))
    {
        ++m_skippedPrintouts;
        return;
    }
    // Told once, when the printer has caught up enough to take one again.
    if (m_skippedPrintouts != 0)
        m_updates.AddListLine(NoticeText::Filled(m_notices.printoutsSkipped, std::to_string(m_skippedPrintouts), "") +
                              "\r\n");
    m_skippedPrintouts = 0;
}

void CFramePipeline::Print(const PrintRecord& record)
{
    if (m_printSettings.BuildPrintJob(JobFileName, m_printer, record) != 0)
        return;
    const int copies = std::clamp(m_printSettings.m_numberOfCopies, 1, MaxCopies);
    for (int copy = 0; copy < copies; ++copy)
        m_view.PrintJobFile(JobFileName);
}

void CFramePipeline::SetPrintFields(const PrintFields& fields)
{
    const std::lock_guard<std::mutex> lock(m_printFieldsMutex);
    m_printFields = fields;
}

void CFramePipeline::DropWaitingPrintouts()
{
    size_t dropped = 0;
    for (PrintRecord record; m_updates.TakePrintout(record);)
        ++dropped;
    if (dropped == 0)
        return;
    CErrorLog log(CErrorLog::DefaultDirectory, CErrorLog::DefaultExtension, m_clock);
    log.Write(std::to_string(dropped) + " printout(s) not printed: the program was closed",
              TimestampStyle::Full);
}

void CFramePipeline::ApplySettings(const CReceiverSettings& settings)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_settings = settings;
}

void CFramePipeline::ReportWaitingLines()
{
    const size_t waiting = m_store.PendingCount();
    if (waiting > 0 && !m_waitingReported)
        AddToFrameList(NoticeText::Filled(m_notices.cannotBeWritten, m_store.OldestWaitingFile(), std::to_string(waiting)) +
                       "\r\n");
    else if (waiting == 0 && m_waitingReported)
        AddToFrameList(m_notices.waitingWritten + "\r\n");
    m_waitingReported = waiting > 0;
}

void CFramePipeline::RestoreWaitingLines()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    CWaitingLinesFile::Contents kept;
    if (!m_waitingFile.Load(kept))
        return;
    m_fileHoldsLines = true;
    const std::string lines = std::to_string(kept.lines.size());
    std::string damaged;
    if (kept.damaged != 0)
        damaged = NoticeText::Filled(m_notices.damagedKept, std::to_string(kept.damaged), m_waitingFile.DamagedPath());
    // The file is rewritten once its lines are out: one that cannot be
    // would bring them back at every start.
    if (!m_waitingFile.KeepDamaged(kept.damagedBytes) || !m_waitingFile.Save(kept.lines))
    {
        Notify(NoticeText::Filled(m_notices.waitingStay, lines, m_waitingFile.Path()));
        // Left alone for this run: rewritten or removed, it would lose them.
        m_fileUntouchable = true;
        return;
    }
    if (kept.lines.empty() && kept.damaged == 0)
    {
        SyncWaitingFile();
        return;
    }
    m_store.AddWaitingLines(kept.lines);
    // Already in the file: only later lines are added to it.
    m_recordedUpTo = m_store.QueuedCount();
    // Into their files now, not with the next frame, which may be far off.
    WriteWaitingLines();
    Notify(NoticeText::Filled(m_notices.waitingRestored, lines, m_waitingFile.Path()) + damaged);
    ReportWaitingLines();
}

void CFramePipeline::SaveWaitingLines()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (WriteWaitingLines() || m_store.PendingCount() == 0)
        return;
    CErrorLog log(CErrorLog::DefaultDirectory, CErrorLog::DefaultExtension, m_clock);
    log.Write(std::to_string(m_store.PendingCount()) + " waiting result line(s) lost: " +
                  m_waitingFile.Path() + " cannot be written",
              TimestampStyle::Full);
}

// Into the results folder of the current settings; false when the file of
// the lines still waiting could not be written.
bool CFramePipeline::WriteWaitingLines()
{
    m_store.MoveWaitingLines(m_settings.GetDirectory());
    m_store.WritePending();
    return SyncWaitingFile();
}

// A line that starts to wait is recorded in the file at once, so that no
// crash, kill or power cut finds it only in memory; the file keeps the
// waiting lines and no others, so none is written twice after a restart
// (unless the process dies between a line's write and this call).  Lines
// dropped for the queue's bound may stay in it: they were never written.
bool CFramePipeline::SyncWaitingFile()
{
    if (m_fileUntouchable)
        return false;
    const uint64_t queued = m_store.QueuedCount();
    const uint64_t written = m_store.WrittenFromQueueCount();
    bool synced = true;
    if (m_store.PendingCount() == 0)
    {
        synced = !m_fileHoldsLines || m_waitingFile.Remove();
        m_fileHoldsLines = !synced;
    }
    else if (written != m_writtenSeen)
    {
        synced = m_waitingFile.Save(m_store.WaitingLines());
        m_fileHoldsLines = m_fileHoldsLines || synced;
    }
    else if (queued != m_recordedUpTo)
    {
        synced = m_waitingFile.Append(m_store.WaitingLines(m_recordedUpTo));
        m_fileHoldsLines = m_fileHoldsLines || synced;
    }
    if (synced)
    {
        m_recordedUpTo = queued;
        m_writtenSeen = written;
    }
    return synced;
}

void CFramePipeline::Notify(const std::string& text)
{
    AddToFrameList(text + "\r\n");
    CErrorLog log(CErrorLog::DefaultDirectory, CErrorLog::DefaultExtension, m_clock);
    log.Write(text, TimestampStyle::Full);
}
