#include "app/VersionInfo.h"

#include "app/FileVersionReader.h"

#include <windows.h>

CVersionInfo::CVersionInfo()
{
    char path[520] = {};
    if (::GetModuleFileNameA(nullptr, path, sizeof path - 1) != 0)
        Read(path);
}

CVersionInfo::CVersionInfo(const std::string& modulePath)
{
    Read(modulePath.c_str());
}

void CVersionInfo::Read(const char* modulePath)
{
    CFileVersionReader reader;
    if (reader.Load(modulePath))
        m_versionText = VersionTextOf(reader.QueryString("FileVersion"));
}
