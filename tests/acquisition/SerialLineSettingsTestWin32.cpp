#include "acquisition/SerialLineSettingsWin32.h"

#include <gtest/gtest.h>

#include <tuple>

namespace
{
// The record applied over a DCB as a driver might report it: every
// flow-control flag set.
DCB Configured(const SerialPortConfig& record)
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    dcb.fOutxCtsFlow = 1;
    dcb.fOutxDsrFlow = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_TOGGLE;
    dcb.fOutX = 1;
    dcb.fInX = 1;
    ApplySerialPortConfig(dcb, record);
    return dcb;
}

SerialPortConfig Record(uint32_t baud, uint8_t dataBits, uint8_t stopBits, uint8_t parity, uint8_t handshake)
{
    SerialPortConfig record = SerialPortRecord::Default(0);
    record.baudRate = baud;
    record.dataBits = dataBits;
    record.stopBits = stopBits;
    record.parity = parity;
    record.handshake = handshake;
    return record;
}

using Line = std::tuple<DWORD, int, int, int, DWORD>;  // baud, bits, parity, stop bits, fParity
using Flow = std::tuple<DWORD, DWORD, DWORD, DWORD, DWORD, DWORD>;

Line LineOf(const DCB& dcb)
{
    return {dcb.BaudRate, dcb.ByteSize, dcb.Parity, dcb.StopBits, dcb.fParity};
}

Flow FlowOf(const DCB& dcb)
{
    return {dcb.fOutxCtsFlow, dcb.fOutxDsrFlow, dcb.fDtrControl, dcb.fRtsControl, dcb.fOutX, dcb.fInX};
}
}

TEST(SerialLineSettingsTest, LineSettingsAndSoftwareFlowCharacters)
{
    const DCB standard = Configured(SerialPortRecord::Default(0));
    EXPECT_EQ(Line(9600, 8, EVENPARITY, ONESTOPBIT, 1), LineOf(standard));
    EXPECT_EQ(std::make_tuple(0x11, 0x13, 100, 100),
              std::make_tuple(standard.XonChar, standard.XoffChar, standard.XonLim, standard.XoffLim));
    EXPECT_EQ(Line(115200, 7, NOPARITY, TWOSTOPBITS, 0),
              LineOf(Configured(Record(115200, 7, TWOSTOPBITS, NOPARITY, 0))));
    EXPECT_EQ(Line(4800, 8, ODDPARITY, ONE5STOPBITS, 1),
              LineOf(Configured(Record(4800, 8, ONE5STOPBITS, ODDPARITY, 0))));
}

TEST(SerialLineSettingsTest, HandshakeTable)
{
    const Flow none{0, 0, DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE, 0, 0};
    // An invalid code leaves the driver's flow control, except software flow.
    const Flow invalid{1, 1, DTR_CONTROL_ENABLE, RTS_CONTROL_TOGGLE, 0, 0};
    const Flow expected[] = {none,
                             {1, 1, DTR_CONTROL_HANDSHAKE, RTS_CONTROL_HANDSHAKE, 0, 0},
                             {0, 0, DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE, 1, 1},
                             invalid};
    for (uint8_t code = 0; code < 4; ++code)
        EXPECT_EQ(expected[code], FlowOf(Configured(Record(9600, 8, ONESTOPBIT, EVENPARITY, code)))) << int{code};
    EXPECT_EQ(invalid, FlowOf(Configured(Record(9600, 8, ONESTOPBIT, EVENPARITY, 255))));
}
