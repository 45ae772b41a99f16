#include "processing/ErrorLog.h"

#include "processing/FileSystem.h"

#include <utility>

namespace
{
// A day file holds lines ended by CR LF and nothing else: a CR or LF left
// inside the text (a serial frame's trailing LF is the head of the next
// frame) or a CR LF pair becomes one CR LF, so every reader sees the same
// lines.
std::string WithCrLfBreaks(const std::string& text)
{
    if (text.find_first_of("\r\n") == std::string::npos)
        return text + "\r\n";
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (c == '\r' || c == '\n')
            out += "\r\n";
        else
            out += c;
    }
    return out + "\r\n";
}
}

CErrorLog::CErrorLog(const std::string& directory, const std::string& extension,
                     LocalTimeSource clock)
    : m_directory(directory), m_extension(extension), m_clock(std::move(clock))
{
}

bool CErrorLog::PrepareTodayPath(const std::string& directory)
{
    m_path = DayPath(directory, m_clock());
    return FileSystem::Exists(m_path);
}

unsigned CErrorLog::Write(const std::string& text, TimestampStyle style, const std::string& prefix)
{
    if (!FileSystem::Exists(m_directory))
        return 0;
    const DayLine composed = ComposeDayLine(text, style, prefix);
    m_path = composed.path;
    if (AppendLine(composed.path, composed.line))
        m_lastLine = composed.line;
    return 1;
}

CErrorLog::DayLine CErrorLog::ComposeDayLine(const std::string& text, TimestampStyle style,
                                             const std::string& prefix) const
{
    const std::tm now = m_clock();
    DayLine composed;
    composed.path = DayPath(m_directory, now);
    if (style == TimestampStyle::Full)
        composed.line = LocalTime::Format(now, "%d/%m/%Y %H:%M:%S ");
    composed.line += prefix;
    composed.line += text;
    return composed;
}

bool CErrorLog::AppendLine(const std::string& path, const std::string& line)
{
    return AppendLines(path, {line});
}

bool CErrorLog::AppendLines(const std::string& path, const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += WithCrLfBreaks(line);
    return FileSystem::AppendToFile(path, bytes);
}

std::string CErrorLog::DayPath(const std::string& directory, const std::tm& day) const
{
    return directory + LocalTime::Format(day, "%Y-%m-%d") + m_extension;
}
