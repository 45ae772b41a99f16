// The serial link's Windows side: the record's line settings applied to a
// DCB, and port discovery from the registry of the test's own Wine prefix.
#include "acquisition/SerialLineSettingsWin32.h"
#include "acquisition/SerialPortList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace
{
// Baud, data bits, parity, stop bits, fParity; then the flow control: CTS
// and DSR output flow, DTR and RTS control, XON/XOFF output and input.
using Settings = std::tuple<DWORD, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD>;

Settings SettingsOf(const DCB& d)
{
    return {d.BaudRate, d.ByteSize, d.Parity,     d.StopBits,   d.fParity, d.fOutxCtsFlow,
            d.fOutxDsrFlow, d.fDtrControl, d.fRtsControl, d.fOutX,    d.fInX};
}
}

// Each record is applied over a DCB as a driver might report it: every
// flow-control flag set.
TEST(SerialLineSettingsTest, LineSettingsHandshakesAndSoftwareFlowCharacters)
{
    constexpr DWORD kOff = DTR_CONTROL_DISABLE, kHard = DTR_CONTROL_HANDSHAKE;  // the RTS codes are the same
    const Settings invalid{9600, 8, EVENPARITY, ONESTOPBIT, 1, 1, 1, DTR_CONTROL_ENABLE, RTS_CONTROL_TOGGLE, 0, 0};
    const std::pair<SerialPortConfig, Settings> cases[] = {
        {{"COM1", 9600, 8, 0, ONESTOPBIT, EVENPARITY}, {9600, 8, EVENPARITY, ONESTOPBIT, 1, 0, 0, kOff, kOff, 0, 0}},
        {{"COM1", 115200, 7, 1, TWOSTOPBITS, NOPARITY}, {115200, 7, NOPARITY, TWOSTOPBITS, 0, 1, 1, kHard, kHard, 0, 0}},
        {{"COM1", 4800, 8, 2, ONE5STOPBITS, ODDPARITY}, {4800, 8, ODDPARITY, ONE5STOPBITS, 1, 0, 0, kOff, kOff, 1, 1}},
        // An invalid code leaves the driver's flow control, except software flow.
        {{"COM1", 9600, 8, 3, ONESTOPBIT, EVENPARITY}, invalid},
        {{"COM1", 9600, 8, 255, ONESTOPBIT, EVENPARITY}, invalid},
    };
    for (const auto& [record, expected] : cases)
    {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = dcb.fOutX = dcb.fInX = 1;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fRtsControl = RTS_CONTROL_TOGGLE;
        ApplySerialPortConfig(dcb, record);
        EXPECT_EQ(expected, SettingsOf(dcb)) << int{record.handshake};
        EXPECT_EQ(std::make_tuple(0x11, 0x13, 100, 100), std::make_tuple(dcb.XonChar, dcb.XoffChar, dcb.XonLim, dcb.XoffLim));
    }
}

// The order and the names the list keeps are checked natively.  The test
// adds its values to HKLM\hardware\DEVICEMAP\SERIALCOMM (a volatile key, as
// the system keeps it) and removes them again.
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
