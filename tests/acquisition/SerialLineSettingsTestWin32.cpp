#include "acquisition/SerialLineSettingsWin32.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

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
