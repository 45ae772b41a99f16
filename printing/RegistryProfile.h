#pragma once
#include <string>

// Integers of the user's profile, kept as REG_DWORD values under
// HKEY_CURRENT_USER\Software\Vorl\Quorbel\<section> (Windows build).
class CRegistryProfile
{
public:
    // The stored value, or the default when the section or value is missing
    // or not a DWORD.
    static int GetInt(const std::string& section, const std::string& key, int defaultValue);
    // False when the value could not be written.
    static bool WriteInt(const std::string& section, const std::string& key, int value);
};
