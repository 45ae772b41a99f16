#pragma once
#include <windows.h>

#include <memory>
#include <string>

// The version resource of a module loaded in this process: its fixed part
// and the strings of its first translation.
class CFileVersionReader
{
public:
    CFileVersionReader();

    // `path` names a module loaded in this process; null is the executable.
    // True when the resource was read and its fixed part is valid.
    bool Load(const char* path);
    // The value of the first translation's string table; empty when there
    // is none or nothing was loaded.
    std::string QueryString(const std::string& name) const;
    const VS_FIXEDFILEINFO& FixedInfo() const { return m_fixedInfo; }

private:
    bool ReadResource(const char* path);
    void ReadTranslation();

    VS_FIXEDFILEINFO m_fixedInfo;
    std::unique_ptr<unsigned char[]> m_versionData;
    WORD m_language = 0;
    WORD m_codePage = 1252;
};
