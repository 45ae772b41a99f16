#include "acquisition/SerialPortList.h"

#include <climits>

CSerialPortList::CSerialPortList() : CSerialPortList(ReadPublishedNames())
{
}

CSerialPortList::CSerialPortList(const std::vector<std::string>& enumerated)
{
    for (const std::string& name : enumerated)
        AddInOrder(name);
}

CSerialPortList::~CSerialPortList()
{
    m_names.clear();
}

const char* CSerialPortList::GetAt(int index) const
{
    return index >= 0 && index < GetCount() ? m_names[index].c_str() : nullptr;
}

long CSerialPortList::PortNumber(const std::string& name)
{
    const size_t digits = name.find_first_not_of("COM");
    long number = 0;
    for (size_t i = digits; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i)
    {
        // A silly registry value saturates instead of overflowing.
        if (number > (LONG_MAX - 9) / 10)
            return LONG_MAX;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

void CSerialPortList::AddInOrder(const std::string& name)
{
    if (name.compare(0, 3, "COM") != 0)
        return;
    const long number = PortNumber(name);
    auto position = m_names.begin();
    while (position != m_names.end() && PortNumber(*position) <= number)
        ++position;
    m_names.insert(position, name);
}
