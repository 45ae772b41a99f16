#pragma once
#include "processing/PendingLines.h"

#include <cstddef>
#include <string>
#include <vector>

// Result lines that were still waiting for their files when the receiver
// stopped, kept in one file of the working directory until the next start.
// One record a line (CRecordCodec): directory, day file and line text, so
// that a damaged record is set aside instead of being written to a result
// file.
class CWaitingLinesFile
{
public:
    static constexpr const char* DefaultName = "Quorbel.pending";

    struct Contents
    {
        std::vector<CPendingLines::Line> lines;   // the sound records, in file order
        size_t damaged = 0;                        // records that were skipped
        std::string damagedBytes;                  // those records as they were, each with its line end
    };

    explicit CWaitingLinesFile(const std::string& path = DefaultName);
    virtual ~CWaitingLinesFile() = default;

    const std::string& Path() const { return m_path; }
    // False when the file cannot be read.
    bool Load(Contents& contents) const;
    // Replaces the file as a whole; false when the old file is left as it was.
    bool Save(const std::vector<CPendingLines::Line>& lines) const;
    // Adds records at the end, on the disk before it returns.
    bool Append(const std::vector<CPendingLines::Line>& lines) const;
    // Where damaged records are kept, byte for byte, for someone to read.
    std::string DamagedPath() const { return m_path + ".damaged"; }
    bool KeepDamaged(const std::string& bytes) const;
    // True when no file is left.
    bool Remove() const;

private:
    static std::string Encode(const std::vector<CPendingLines::Line>& lines);

    std::string m_path;
};
