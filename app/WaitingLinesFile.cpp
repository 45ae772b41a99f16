#include "app/WaitingLinesFile.h"

#include "processing/RecordCodec.h"
#include "processing/FileSystem.h"

#include <utility>

namespace
{
const size_t FieldCount = 3;  // directory, day file, line
}

CWaitingLinesFile::CWaitingLinesFile(const std::string& path) : m_path(path)
{
}

bool CWaitingLinesFile::Load(Contents& contents) const
{
    std::string bytes;
    if (!FileSystem::ReadContents(m_path, bytes))
        return false;
    CRecordCodec::Parse(
        bytes, FieldCount,
        [&contents](const std::vector<std::string>& fields) {
            CPendingLines::Line line{fields[0], fields[1], fields[2]};
            // A day file outside its directory is no line this program wrote.
            if (line.directory.empty() || line.path.compare(0, line.directory.size(), line.directory) != 0)
                return false;
            contents.lines.push_back(std::move(line));
            return true;
        },
        contents.damaged, contents.damagedBytes);
    return true;
}

bool CWaitingLinesFile::Save(const std::vector<CPendingLines::Line>& lines) const
{
    return FileSystem::ReplaceContents(m_path, Encode(lines));
}

bool CWaitingLinesFile::Append(const std::vector<CPendingLines::Line>& lines) const
{
    return FileSystem::AppendToFile(m_path, Encode(lines));
}

bool CWaitingLinesFile::KeepDamaged(const std::string& bytes) const
{
    return bytes.empty() || FileSystem::AppendToFile(DamagedPath(), bytes);
}

bool CWaitingLinesFile::Remove() const
{
    return FileSystem::RemoveFile(m_path);
}

std::string CWaitingLinesFile::Encode(const std::vector<CPendingLines::Line>& lines)
{
    std::string bytes;
    for (const CPendingLines::Line& line : lines)
        bytes += CRecordCodec::Encode({line.directory, line.path, line.text});
    return bytes;
}
