#include "processing/IniFile.h"

#include "processing/FileSystem.h"
#include "processing/PrivateProfile.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <vector>

namespace
{
const char* const ApplicationName = "Quorbel";

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Absolute when it names a drive ("C:..."), a share ("\\server") or, on the
// native build, the root ("/tmp/...").
bool IsAbsolutePath(const std::string& path)
{
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':')
        return true;
    return !path.empty() && IsSeparator(path[0]);
}

bool IsDriveOrRoot(const std::string& prefix)
{
    return prefix.empty() || (prefix.size() == 2 && prefix[1] == ':');
}

std::string DirectoryOf(const std::string& file)
{
    const std::string::size_type last = file.find_last_of("\\/");
    return last == std::string::npos ? std::string() : file.substr(0, last + 1);
}

std::string BaseNameOf(const std::string& file)
{
    const std::string name = file.substr(DirectoryOf(file).size());
    const std::string::size_type dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// The working directory with its trailing separators replaced by one backslash.
std::string WorkingDirectoryBase()
{
    std::string dir = FileSystem::CurrentDirectory();
    while (!dir.empty() && IsSeparator(dir.back()))
        dir.pop_back();
    return dir + "\\";
}

std::string BaseDirectory(int moduleDirectory)
{
    return moduleDirectory ? DirectoryOf(FileSystem::ModuleFileName()) : WorkingDirectoryBase();
}
}

void EnsureTrailingBackslash(std::string& path)
{
    if (path.empty() || path.back() != '\\')
        path += '\\';
}

void CreateDirectoryPath(const std::string& path)
{
    std::vector<std::string> prefixes;
    for (std::string::size_type i = 0; i < path.size(); ++i)
    {
        if (IsSeparator(path[i]))
            prefixes.push_back(path.substr(0, i));
    }
    if (prefixes.empty())
        return;
    prefixes.push_back(path);
    // A drive ("C:") or a root cannot be created; a first relative component
    // ("Data" of "Data\Day\") must be, or nothing beneath it can be.
    for (const std::string& prefix : prefixes)
    {
        if (!IsDriveOrRoot(prefix))
            FileSystem::CreateDir(prefix);
    }
}

std::string DefaultIniPath(int moduleDirectory)
{
    return BaseDirectory(moduleDirectory) + BaseNameOf(FileSystem::ModuleFileName()) + ".ini";
}

std::string MakeAbsolutePath(const std::string& path, int moduleDirectory)
{
    return IsAbsolutePath(path) ? path : BaseDirectory(moduleDirectory) + path;
}

int AtoiLike(const std::string& text)
{
    std::string::size_type i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
    {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            break;
    }
    return static_cast<int>(std::clamp<long long>(negative ? -value : value, INT_MIN, INT_MAX));
}

CIniFile::CIniFile(const std::string& path, int moduleDirectory)
    : m_moduleDirectory(moduleDirectory),
      m_path(path.empty() ? DefaultIniPath(moduleDirectory) : path),
      m_section(ApplicationName)
{
    m_path = MakeAbsolutePath(m_path, m_moduleDirectory);
}

void CIniFile::UseSection(const std::string& section)
{
    if (!section.empty())
        m_section = section;
}

const std::string& CIniFile::ReadString(const std::string& key, const std::string& section,
                                        const std::string& defaultValue, size_t size)
{
    UseSection(section);
    m_value = PrivateProfile::GetString(m_section, key, defaultValue, m_path, size);
    return m_value;
}

int CIniFile::ReadInt(const std::string& key, int defaultValue, const std::string& section)
{
    return AtoiLike(ReadString(key, section, std::to_string(defaultValue)));
}

void CIniFile::WriteString(const std::string& key, const std::string& value,
                           const std::string& section)
{
    UseSection(section);
    PrivateProfile::WriteString(m_section, key, value, m_path);
}

void CIniFile::WriteInt(const std::string& key, int value, const std::string& section)
{
    WriteString(key, std::to_string(value), section);
}

void CIniFile::ExchangeString(bool load, std::string& value, const std::string& key,
                              const std::string& section, const std::string& defaultValue, size_t size)
{
    if (load)
        value = ReadString(key, section, defaultValue, size);
    else
        WriteString(key, value, section);
}

void CIniFile::ExchangeInt(bool load, int& value, const std::string& key,
                           const std::string& section, int defaultValue)
{
    if (load)
        value = ReadInt(key, defaultValue, section);
    else
        WriteInt(key, value, section);
}

void CIniFile::ExchangeShort(bool load, int16_t& value, const std::string& key,
                             const std::string& section, int defaultValue)
{
    int wide = value;
    ExchangeInt(load, wide, key, section, defaultValue);
    if (load)
        value = static_cast<int16_t>(static_cast<uint16_t>(static_cast<unsigned>(wide)));
}

void CIniFile::ExchangeShortArray(bool load, int16_t* values, int count, const std::string& keyBase,
                                  const std::string& section, int defaultValue)
{
    for (int j = 0; j < count; ++j)
        ExchangeShort(load, values[j], keyBase + "_" + std::to_string(j), section, defaultValue);
}
