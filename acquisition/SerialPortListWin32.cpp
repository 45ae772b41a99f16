#include "acquisition/SerialPortList.h"

#include <windows.h>

namespace
{
// A registry key opened for reading, closed when it goes out of scope.
class CRegistryKey
{
public:
    CRegistryKey(HKEY parent, const char* name)
    {
        if (parent == nullptr || RegOpenKeyExA(parent, name, 0, KEY_READ, &m_key) != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~CRegistryKey()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

constexpr DWORD BufferSize = 260;

// The value's data as text; registry data need not end with a NUL.
std::string DataText(const BYTE* data, DWORD size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    return text.substr(0, text.find('\0'));
}
}

std::vector<std::string> CSerialPortList::ReadPublishedNames()
{
    std::vector<std::string> names;
    CRegistryKey hardware(HKEY_LOCAL_MACHINE, "hardware");
    CRegistryKey deviceMap(hardware.Get(), "DEVICEMAP");
    CRegistryKey serialComm(deviceMap.Get(), "SERIALCOMM");
    if (serialComm.Get() == nullptr)
        return names;
    for (DWORD index = 0;; ++index)
    {
        char valueName[BufferSize];
        BYTE data[BufferSize];
        DWORD nameSize = BufferSize;
        DWORD dataSize = BufferSize;
        const LONG result = RegEnumValueA(serialComm.Get(), index, valueName, &nameSize, nullptr,
                                          nullptr, data, &dataSize);
        if (result == ERROR_MORE_DATA)
            continue;  // no port name is that long: not a port
        if (result != ERROR_SUCCESS)
            break;
        names.push_back(DataText(data, dataSize));
    }
    return names;
}
