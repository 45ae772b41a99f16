#pragma once
#include <string>

// The private-profile (INI file) calls behind one seam.  The Windows build
// calls GetPrivateProfileStringA and WritePrivateProfileStringA; the native
// build reads and writes the same file format with the same handling of
// names, blanks, quotes, comments, duplicate keys and missing files,
// sections and keys.
namespace PrivateProfile
{
// GetPrivateProfileStringA with a buffer of bufferSize characters: the value
// of the key, or the default when the file, section or key is missing; at
// most bufferSize - 1 characters.
std::string GetString(const std::string& section, const std::string& key,
                      const std::string& defaultValue, const std::string& path,
                      unsigned bufferSize = 256);

// WritePrivateProfileStringA: sets the key, creating the file and the
// section as needed.  False when the file could not be written.
bool WriteString(const std::string& section, const std::string& key,
                 const std::string& value, const std::string& path);
}
