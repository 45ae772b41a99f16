// Discovery from the registry of the test's own Wine prefix (the order and
// the names it keeps are checked natively).  The test adds its values to
// HKLM\hardware\DEVICEMAP\SERIALCOMM (a volatile key, as the system keeps
// it) and removes them again.
#include "acquisition/SerialPortList.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

TEST(SerialPortListRegistryTest, ListsPublishedComPortsInNumericOrder)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr,
                                             REG_OPTION_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key, nullptr));
    const std::vector<std::string> ports{"COM31", "COM5", "COM210"};
    for (const std::string& port : ports)
        RegSetValueExA(key, ("\\Device\\QuorbelTest" + port).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(port.c_str()), static_cast<DWORD>(port.size() + 1));
    const CSerialPortList list;
    for (const std::string& port : ports)
        RegDeleteValueA(key, ("\\Device\\QuorbelTest" + port).c_str());
    RegCloseKey(key);

    std::vector<std::string> listed;
    for (int i = 0; i < list.GetCount(); ++i)
        if (std::count(ports.begin(), ports.end(), list.GetAt(i)))
            listed.emplace_back(list.GetAt(i));
    EXPECT_EQ((std::vector<std::string>{"COM5", "COM31", "COM210"}), listed);
}
