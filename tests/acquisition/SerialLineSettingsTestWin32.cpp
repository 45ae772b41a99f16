#include "acquisition/SerialLineSettingsWin32.h"

#include <gtest/gtest.h>

namespace
{
// A DCB as a driver might report it: every flow-control flag set.
DCB DriverState()
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    dcb.fOutxCtsFlow = 1;
    dcb.fOutxDsrFlow = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_TOGGLE;
    dcb.fOutX = 1;
    dcb.fInX = 1;
    return dcb;
}

DCB Configured(uint8_t handshake)
{
    SerialPortConfig record = SerialPortRecord::Default(0);
    record.handshake = handshake;
    DCB dcb = DriverState();
    ApplySerialPortConfig(dcb, record);
    return dcb;
}
}

TEST(SerialLineSettingsTest, DefaultRecordGives9600EvenParityOneStopBit)
{
    const DCB dcb = Configured(0);
    EXPECT_EQ(9600u, dcb.BaudRate);
    EXPECT_EQ(8, dcb.ByteSize);
    EXPECT_EQ(EVENPARITY, dcb.Parity);
    EXPECT_EQ(ONESTOPBIT, dcb.StopBits);
    EXPECT_EQ(1u, dcb.fParity);
    EXPECT_EQ(0x11, dcb.XonChar);
    EXPECT_EQ(0x13, dcb.XoffChar);
    EXPECT_EQ(100, dcb.XonLim);
    EXPECT_EQ(100, dcb.XoffLim);
}

TEST(SerialLineSettingsTest, OtherLineSettings)
{
    SerialPortConfig record = SerialPortRecord::Default(0);
    record.baudRate = 115200;
    record.dataBits = 7;
    record.stopBits = TWOSTOPBITS;
    record.parity = NOPARITY;
    DCB dcb = DriverState();
    ApplySerialPortConfig(dcb, record);
    EXPECT_EQ(115200u, dcb.BaudRate);
    EXPECT_EQ(7, dcb.ByteSize);
    EXPECT_EQ(NOPARITY, dcb.Parity);
    EXPECT_EQ(TWOSTOPBITS, dcb.StopBits);
    EXPECT_EQ(0u, dcb.fParity);
    record.parity = ODDPARITY;
    ApplySerialPortConfig(dcb, record);
    EXPECT_EQ(1u, dcb.fParity);
}

namespace
{
struct FlowControl
{
    DWORD ctsFlow, dsrFlow, dtrControl, rtsControl, outX, inX;
    bool operator==(const FlowControl& other) const
    {
        return ctsFlow == other.ctsFlow && dsrFlow == other.dsrFlow && dtrControl == other.dtrControl &&
               rtsControl == other.rtsControl && outX == other.outX && inX == other.inX;
    }
};

FlowControl FlowControlOf(const DCB& dcb)
{
    return {dcb.fOutxCtsFlow, dcb.fOutxDsrFlow, dcb.fDtrControl, dcb.fRtsControl, dcb.fOutX, dcb.fInX};
}
}

TEST(SerialLineSettingsTest, HandshakeTable)
{
    const FlowControl none{0, 0, DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE, 0, 0};
    const FlowControl hardware{1, 1, DTR_CONTROL_HANDSHAKE, RTS_CONTROL_HANDSHAKE, 0, 0};
    const FlowControl software{0, 0, DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE, 1, 1};
    // An invalid code leaves the driver's flow control, except software flow.
    const FlowControl invalid{1, 1, DTR_CONTROL_ENABLE, RTS_CONTROL_TOGGLE, 0, 0};
    EXPECT_TRUE(none == FlowControlOf(Configured(0)));
    EXPECT_TRUE(hardware == FlowControlOf(Configured(1)));
    EXPECT_TRUE(software == FlowControlOf(Configured(2)));
    EXPECT_TRUE(invalid == FlowControlOf(Configured(3)));
    EXPECT_TRUE(invalid == FlowControlOf(Configured(255)));
}
