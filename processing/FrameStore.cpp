#include "processing/FrameStore.h"

#include "processing/FieldTokenizer.h"
#include "processing/FileSystem.h"
#include "processing/IniFile.h"
#include "processing/ReceiverSettings.h"

#include <utility>

namespace
{
const char* const WhiteSpace = " \t\n\v\f\r";

void TrimLeft(std::string& text, const char* characters)
{
    text.erase(0, text.find_first_not_of(characters));
}

void TrimRight(std::string& text, const std::string& characters)
{
    const size_t last = text.find_last_not_of(characters);
    text.erase(last == std::string::npos ? 0 : last + 1);
}

bool KeepsSelectedFields(int storeType)
{
    return storeType == CReceiverSettings::SelectedFields ||
           storeType == CReceiverSettings::SelectedFieldsDate;
}

// A results directory removed while the receiver runs comes back with the
// next line.
bool AppendCreatingDirectory(const std::string& directory, const std::string& path,
                             const std::vector<std::string>& lines)
{
    if (CErrorLog::AppendLines(path, lines))
        return true;
    CreateDirectoryPath(directory);
    return CErrorLog::AppendLines(path, lines);
}
}

CFrameStore::CFrameStore(size_t pendingBound, LocalTimeSource clock)
    : m_pending(pendingBound), m_clock(std::move(clock))
{
}

void CFrameStore::SetSeparators(const std::string& input, const std::string& output)
{
    m_inputSeparator = input;
    m_outputSeparator = output;
}

unsigned CFrameStore::SelectFields(const std::string& frame, std::string& selected,
                                   const CReceiverSettings& settings) const
{
    CFieldTokenizer tokenizer(nullptr, frame, m_inputSeparator, '"');
    const size_t count = tokenizer.Count();
    const unsigned result = count > 2 ? Success : Failure;
    if (count == 0 || !KeepsSelectedFields(settings.m_storeType))
        return result;

    selected.clear();
    for (size_t i = 0; i < count && i < CReceiverSettings::FieldCount; ++i)
    {
        if (settings.IsFieldInUse(static_cast<int>(i)) == 0)
            continue;
        selected += tokenizer.GetAt(i);
        selected += ' ';
        selected += m_outputSeparator;
        selected += ' ';
    }
    TrimLeft(selected, WhiteSpace);
    TrimRight(selected, WhiteSpace);
    TrimRight(selected, m_outputSeparator);
    return result;
}

bool CFrameStore::FileExistsToday(const std::string& directory, const std::string& extension) const
{
    CErrorLog writer(directory, extension, m_clock);
    const bool exists = writer.PrepareTodayPath(directory);
    return exists || m_pending.HoldsLineFor(writer.GetPath()) || GroupHoldsLineFor(writer.GetPath());
}

size_t CFrameStore::AddResult(const std::string& directory, const std::string& extension,
                             const std::string& frame, const std::string& selected, int storeType,
                             std::string& line)
{
    const CErrorLog writer(directory, extension, m_clock);
    CErrorLog::DayLine composed = ComposeResult(writer, frame, selected, storeType);
    line = composed.line;
    m_group.push_back({directory, std::move(composed.path), std::move(composed.line)});
    return m_group.size() - 1;
}

std::vector<bool> CFrameStore::CommitGroup()
{
    std::vector<CPendingLines::Line> group;
    group.swap(m_group);
    std::vector<bool> written(group.size(), false);
    if (group.empty())
        return written;
    MoveWaitingLines(group.back().directory);
    WritePending();
    for (size_t first = 0, end = 0; first < group.size(); first = end)
    {
        std::vector<std::string> texts;
        for (end = first; end < group.size() && group[end].path == group[first].path; ++end)
            texts.push_back(group[end].text);
        // A line never overtakes an older one of the same file.
        const bool appended = !m_pending.HoldsLineFor(group[first].path) &&
                              AppendCreatingDirectory(group[first].directory, group[first].path, texts);
        for (size_t i = first; i < end; ++i)
        {
            written[i] = appended;
            if (!appended)
                Queue(std::move(group[i]));
        }
    }
    return written;
}

unsigned CFrameStore::WriteResult(const std::string& directory, const std::string& extension,
                                  const std::string& frame, const std::string& selected,
                                  int storeType, std::string& line)
{
    AddResult(directory, extension, frame, selected, storeType, line);
    return CommitGroup().back() ? Success : Failure;
}

bool CFrameStore::GroupHoldsLineFor(const std::string& path) const
{
    for (const CPendingLines::Line& line : m_group)
        if (line.path == path)
            return true;
    return false;
}

CErrorLog::DayLine CFrameStore::ComposeResult(const CErrorLog& writer, const std::string& frame,
                                              const std::string& selected, int storeType) const
{
    switch (storeType)
    {
    case CReceiverSettings::OriginalFrameDate:
        return writer.ComposeDayLine(frame, TimestampStyle::Full, m_inputSeparator);
    case CReceiverSettings::SelectedFields:
        return writer.ComposeDayLine(selected, TimestampStyle::None, std::string());
    case CReceiverSettings::SelectedFieldsDate:
        return writer.ComposeDayLine(selected, TimestampStyle::Full, m_outputSeparator);
    default:
        return writer.ComposeDayLine(frame, TimestampStyle::None, std::string());
    }
}

void CFrameStore::WritePending()
{
    m_pending.WriteOut([](const std::vector<CPendingLines::Line>& lines) {
        std::vector<std::string> texts;
        for (const CPendingLines::Line& line : lines)
            texts.push_back(line.text);
        return AppendCreatingDirectory(lines.front().directory, lines.front().path, texts);
    });
    if (m_pending.IsEmpty())
        m_droppedWhileWaiting = 0;
}

void CFrameStore::MoveWaitingLines(const std::string& directory)
{
    m_pending.MoveToDirectory(directory);
}

void CFrameStore::AddWaitingLines(const std::vector<CPendingLines::Line>& lines)
{
    for (const CPendingLines::Line& line : lines)
        Queue(line);
}

void CFrameStore::Queue(CPendingLines::Line line)
{
    const size_t dropped = m_pending.Push(std::move(line));
    if (dropped == 0)
        return;
    m_droppedWhileWaiting += dropped;
    CErrorLog log(CErrorLog::DefaultDirectory, CErrorLog::DefaultExtension, m_clock);
    log.Write(std::to_string(m_droppedWhileWaiting) +
                  " unwritten result line(s) dropped, oldest first: the queue is full",
              TimestampStyle::Full);
}
