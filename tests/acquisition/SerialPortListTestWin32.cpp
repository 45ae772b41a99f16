// Discovery from the registry of the test's own Wine prefix.  The test adds
// its values to HKLM\hardware\DEVICEMAP\SERIALCOMM (a volatile key, as the
// system keeps it) and removes them again.
#include "acquisition/SerialPortList.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace
{
class CSerialCommValues
{
public:
    CSerialCommValues()
    {
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr,
                        REG_OPTION_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &m_key, nullptr);
    }
    ~CSerialCommValues()
    {
        for (const std::string& name : m_added)
            RegDeleteValueA(m_key, name.c_str());
        if (m_key)
            RegCloseKey(m_key);
    }
    CSerialCommValues(const CSerialCommValues&) = delete;
    CSerialCommValues& operator=(const CSerialCommValues&) = delete;

    bool Add(const std::string& name, const std::string& data)
    {
        const bool added = m_key && RegSetValueExA(m_key, name.c_str(), 0, REG_SZ,
                                                   reinterpret_cast<const BYTE*>(data.c_str()),
                                                   static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
        if (added)
            m_added.push_back(name);
        return added;
    }

private:
    HKEY m_key = nullptr;
    std::vector<std::string> m_added;
};

int Position(const CSerialPortList& list, const std::string& name)
{
    for (int i = 0; i < list.GetCount(); ++i)
        if (name == list.GetAt(i))
            return i;
    return -1;
}
}

TEST(SerialPortListRegistryTest, ListsPublishedComPortsInNumericOrder)
{
    CSerialCommValues values;
    ASSERT_TRUE(values.Add("\\Device\\QuorbelTest31", "COM31"));
    ASSERT_TRUE(values.Add("\\Device\\QuorbelTest5", "COM5"));
    ASSERT_TRUE(values.Add("\\Device\\QuorbelTest210", "COM210"));
    ASSERT_TRUE(values.Add("\\Device\\QuorbelTestLpt", "LPT7"));
    ASSERT_TRUE(values.Add("\\Device\\QuorbelTestLower", "com6"));

    const CSerialPortList list;
    const int com5 = Position(list, "COM5");
    const int com31 = Position(list, "COM31");
    const int com210 = Position(list, "COM210");
    ASSERT_GE(com5, 0);
    EXPECT_LT(com5, com31);
    EXPECT_LT(com31, com210);
    EXPECT_EQ(-1, Position(list, "LPT7"));
    EXPECT_EQ(-1, Position(list, "com6"));
    // Whatever else the prefix publishes (its own COM1, say) is in order too.
    for (int i = 1; i < list.GetCount(); ++i)
        EXPECT_LE(CSerialPortList::PortNumber(list.GetAt(i - 1)), CSerialPortList::PortNumber(list.GetAt(i)));
    EXPECT_EQ(nullptr, list.GetAt(list.GetCount()));
}
