#pragma once
#include "processing/LocalTime.h"

#include <string>
#include <vector>

enum class TimestampStyle
{
    Full,   // the line starts with the local time "%d/%m/%Y %H:%M:%S "
    None
};

// Appends lines to files named after the local day ("%Y-%m-%d" plus the
// extension) in one directory: the error log, and the result files of the
// frame store.  Every line ends with CR LF whatever the platform, and so
// does every line break inside a line.  The file
// is opened with read and write sharing for the one append, so a viewer that
// holds it open never makes a line fail.  The writer never creates its
// directory.
class CErrorLog
{
public:
    static constexpr const char* DefaultDirectory = "ErrLog\\";
    static constexpr const char* DefaultExtension = ".LOG";

    // One line as it goes into a day file, and the file it belongs in.
    struct DayLine
    {
        std::string path;
        std::string line;
    };

    explicit CErrorLog(const std::string& directory = DefaultDirectory,
                       const std::string& extension = DefaultExtension,
                       LocalTimeSource clock = LocalTime::SystemNow);
    virtual ~CErrorLog() = default;

    // Sets the path to today's file in the directory; true when it exists.
    bool PrepareTodayPath(const std::string& directory);
    // 0 when the directory is missing (nothing written), 1 otherwise, also
    // when the file could not be written: the error log stays silent.
    unsigned Write(const std::string& text, TimestampStyle style,
                   const std::string& prefix = std::string());
    std::string GetLastLine() const { return m_lastLine; }
    const std::string& GetPath() const { return m_path; }

    // The line Write would compose now and the day file it would go to; the
    // clock is read once, so a line stamped 23:59:59 never lands in the next
    // day's file.
    DayLine ComposeDayLine(const std::string& text, TimestampStyle style,
                           const std::string& prefix) const;
    // Appends the line and CR LF, every line break inside it written as CR
    // LF too; false when not every byte reached the file.
    static bool AppendLine(const std::string& path, const std::string& line);
    // AppendLine for several lines in one write: all of them or none.
    static bool AppendLines(const std::string& path, const std::vector<std::string>& lines);

private:
    std::string DayPath(const std::string& directory, const std::tm& day) const;

    std::string m_path;
    std::string m_directory;
    std::string m_extension;
    std::string m_lastLine;
    LocalTimeSource m_clock;
};
