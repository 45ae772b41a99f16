#include "processing/PrivateProfile.h"

#include <vector>
#include <windows.h>

namespace PrivateProfile
{
std::string GetString(const std::string& section, const std::string& key,
                      const std::string& defaultValue, const std::string& path,
                      unsigned bufferSize)
{
    // A buffer of one character can only ever hold the empty text, and some
    // implementations write before the buffer when a quoted value meets it.
    if (bufferSize < 2)
        return std::string();
    std::vector<char> buffer(bufferSize, '\0');
    GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                             bufferSize, path.c_str());
    return std::string(buffer.data());
}

bool WriteString(const std::string& section, const std::string& key,
                 const std::string& value, const std::string& path)
{
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
}
}
