#pragma once
#include <string>
#include <vector>

// The serial ports the system publishes (on Windows under
// HKEY_LOCAL_MACHINE\hardware\DEVICEMAP\SERIALCOMM), in ascending order of
// port number.  The list is fixed once constructed.
class CSerialPortList
{
public:
    CSerialPortList();
    // Orders the given names, in the order the registry would enumerate them.
    explicit CSerialPortList(const std::vector<std::string>& enumerated);
    virtual ~CSerialPortList();

    int GetCount() const { return static_cast<int>(m_names.size()); }
    // Null when the index is outside the list.
    const char* GetAt(int index) const;

    // The number of a "COM" name: the decimal value after its leading
    // 'C', 'O' and 'M' characters (0 when there are no digits).
    static long PortNumber(const std::string& name);

private:
    // Only names beginning with "COM"; equal numbers keep their enumeration order.
    void AddInOrder(const std::string& name);
    static std::vector<std::string> ReadPublishedNames();

    std::vector<std::string> m_names;
};
