#pragma once
#include <string>

// The version text the caption, the tray tip and the About box show,
// built from a module's version resource; empty when it cannot be read.
class CVersionInfo
{
public:
    // The executable's own version resource.
    CVersionInfo();
    // The version resource of a module loaded in this process.
    explicit CVersionInfo(const std::string& modulePath);
    virtual ~CVersionInfo() = default;

    virtual std::string GetVersionText() const;

    // "Version : " and the file version with every comma made a period:
    // "2, 0, 0, 0" gives "Version : 2. 0. 0. 0".
    static std::string VersionTextOf(const std::string& fileVersion);

private:
    void Read(const char* modulePath);

    std::string m_versionText;
};
