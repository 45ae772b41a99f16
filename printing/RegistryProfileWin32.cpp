#include "printing/RegistryProfile.h"

#include <windows.h>

namespace
{
std::string SectionKey(const std::string& section)
{
    return "Software\\Vorl\\Quorbel\\" + section;
}
}

int CRegistryProfile::GetInt(const std::string& section, const std::string& key, int defaultValue)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    const LSTATUS status = RegGetValueA(HKEY_CURRENT_USER, SectionKey(section).c_str(), key.c_str(),
                                        RRF_RT_REG_DWORD, nullptr, &value, &size);
    return status == ERROR_SUCCESS ? static_cast<int>(value) : defaultValue;
}

bool CRegistryProfile::WriteInt(const std::string& section, const std::string& key, int value)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD data = static_cast<DWORD>(value);
    const LSTATUS status = RegSetValueExA(handle, key.c_str(), 0, REG_DWORD,
                                          reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}
