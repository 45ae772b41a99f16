#include "app/VersionInfo.h"

#include <algorithm>

std::string CVersionInfo::GetVersionText() const
{
    return m_versionText;
}

std::string CVersionInfo::VersionTextOf(const std::string& fileVersion)
{
    std::string text = "Version : " + fileVersion;
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}
