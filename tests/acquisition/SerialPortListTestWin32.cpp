// Discovery from the registry of the test's own Wine prefix (the order and
// the names it keeps are checked natively).  The test adds
// its values to HKLM\hardware\DEVICEMAP\SERIALCOMM (a volatile key, as the
// system keeps it) and removes them again.
#include "acquisition/SerialPortList.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <utility>

namespace
{
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
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr,
                                             REG_OPTION_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key, nullptr));
    const std::pair<const char*, const char*> published[] = {
        {"\\Device\\QuorbelTest31", "COM31"}, {"\\Device\\QuorbelTest5", "COM5"},
        {"\\Device\\QuorbelTest210", "COM210"}};
    for (const auto& [name, port] : published)
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(port),
                       static_cast<DWORD>(std::strlen(port) + 1));
    const CSerialPortList list;
    for (const auto& value : published)
        RegDeleteValueA(key, value.first);
    RegCloseKey(key);

    const int com5 = Position(list, "COM5");
    const int com31 = Position(list, "COM31");
    ASSERT_GE(com5, 0);
    EXPECT_LT(com5, com31);
    EXPECT_LT(com31, Position(list, "COM210"));
}
