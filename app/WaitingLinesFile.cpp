#include "app/WaitingLinesFile.h"

#include "processing/FileSystem.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace
{
const char FieldSeparator = '\t';
const int HashDigits = 8;

uint32_t Hash(const CPendingLines::Line& line)
{
    uint32_t hash = 2166136261u;
    for (const std::string* field : {&line.directory, &line.path, &line.text})
    {
        for (const char c : *field + '\0')
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

std::string HashText(uint32_t hash)
{
    char text[HashDigits + 1];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(hash));
    return text;
}

// Control characters and '%' become %XX, so a record never holds a tab or a
// line end of its own.
std::string Escape(const std::string& text)
{
    std::string escaped;
    for (const char c : text)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%')
        {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", byte);
            escaped += code;
        }
        else
            escaped += c;
    }
    return escaped;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool Unescape(const std::string& escaped, std::string& text)
{
    text.clear();
    for (size_t i = 0; i < escaped.size(); ++i)
    {
        if (escaped[i] != '%')
        {
            text += escaped[i];
            continue;
        }
        if (i + 2 >= escaped.size())
            return false;
        const int high = HexValue(escaped[i + 1]);
        const int low = HexValue(escaped[i + 2]);
        if (high < 0 || low < 0)
            return false;
        text += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts(1);
    for (const char c : text)
    {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}
}

CWaitingLinesFile::CWaitingLinesFile(const std::string& path) : m_path(path)
{
}

bool CWaitingLinesFile::Load(Contents& contents) const
{
    std::ifstream in(FileSystem::HostPath(m_path), std::ios::binary);
    if (!in)
        return false;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return false;
    std::vector<std::string> records = Split(bytes, '\n');
    // Whatever follows the last line end was cut off while being written.
    const std::string cut = records.back();
    records.pop_back();
    for (const std::string& record : records)
    {
        std::string text = record;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        CPendingLines::Line line;
        if (Decode(text, line))
        {
            contents.lines.push_back(line);
        }
        else if (!text.empty())
        {
            ++contents.damaged;
            contents.damagedBytes += record + '\n';
        }
    }
    if (!cut.empty())
    {
        ++contents.damaged;
        contents.damagedBytes += cut;
    }
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
        bytes += Escape(line.directory) + FieldSeparator + Escape(line.path) + FieldSeparator +
                 Escape(line.text) + FieldSeparator + HashText(Hash(line)) + "\r\n";
    return bytes;
}

// A record is taken only when it is whole: four fields, sound escapes, the
// right check value, and a day file inside its directory.
bool CWaitingLinesFile::Decode(const std::string& record, CPendingLines::Line& line)
{
    const std::vector<std::string> fields = Split(record, FieldSeparator);
    if (fields.size() != 4 || !Unescape(fields[0], line.directory) ||
        !Unescape(fields[1], line.path) || !Unescape(fields[2], line.text))
        return false;
    return fields[3] == HashText(Hash(line)) && !line.directory.empty() &&
           line.path.compare(0, line.directory.size(), line.directory) == 0;
}
