#include "acquisition/SerialPort.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
// COM2 at 19200 baud, 7 data bits, hardware handshake, two stop bits, odd parity.
const std::string Com2Record("COM2\0\0\0\x4B\0\0\7\1\2\1", 14);

const unsigned char* Bytes(const std::string& bytes)
{
    return reinterpret_cast<const unsigned char*>(bytes.data());
}
}

TEST(SerialPortConfigTest, RecordsRoundTripByteForByte)
{
    unsigned char encoded[14] = {};
    SerialPortRecord::Encode(SerialPortRecord::Decode(Bytes(Com2Record)), encoded);
    EXPECT_EQ(0, std::memcmp(Com2Record.data(), encoded, sizeof encoded));
}

TEST(SerialPortConfigTest, FirstInstanceWithoutFileWritesTheDefaults)
{
    CTempDir dir;
    CSerialPort port;
    const std::string bytes = dir.Read("Serial.cfg");
    ASSERT_EQ(560u, bytes.size());
    EXPECT_EQ(std::string("COM1\0\0\x80\x25\0\0\x08\0\0\2", 14), bytes.substr(0, 14));
    const SerialPortConfig last = SerialPortRecord::Decode(Bytes(bytes) + 39 * 14);
    EXPECT_STREQ("COM40", last.portName);
    EXPECT_EQ(0, port.GetPort());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ("1 : 9600, 8, E, 1, None", CSerialPort::Describe(0));
    EXPECT_EQ("40 : 9600, 8, E, 1, None", CSerialPort::Describe(39));
}

TEST(SerialPortConfigTest, SavedRecordIsLoadedByTheNextFirstInstance)
{
    CTempDir dir;
    {
        CSerialPort port;
        SerialPortConfig record = *CSerialPort::GetConfig(11);
        record.baudRate = 115200;
        record.dataBits = 7;
        record.handshake = 2;
        record.stopBits = 1;
        record.parity = 0;
        CSerialPort::SetConfig(11, record);
        CSerialPort::SaveConfig();
        CSerialPort::SetConfig(11, SerialPortRecord::Default(11));
    }
    CSerialPort reloaded;
    EXPECT_EQ("12 : 115200, 7, N, 1.5, Soft", CSerialPort::Describe(11));
    EXPECT_EQ(560u, dir.Read("Serial.cfg").size());
}

TEST(SerialPortConfigTest, ASecondInstanceKeepsTheTableInMemory)
{
    CTempDir dir;
    CSerialPort first;
    SerialPortConfig record = *CSerialPort::GetConfig(0);
    record.baudRate = 4800;
    CSerialPort::SetConfig(0, record);
    CSerialPort second;
    EXPECT_EQ(4800u, uint32_t{CSerialPort::GetConfig(0)->baudRate});
}

TEST(SerialPortConfigTest, ShortOrLongFileGivesOnlyWholeRecords)
{
    CTempDir dir;
    dir.Write("Serial.cfg", Com2Record + std::string("XYZ\0\0\0\1\2", 8));  // 8 bytes of a second record
    {
        CSerialPort port;
        EXPECT_EQ("1 : 19200, 7, O, 2, Hard", CSerialPort::Describe(0));
        EXPECT_STREQ("COM2", CSerialPort::GetConfig(0)->portName);
        EXPECT_EQ("2 : 9600, 8, E, 1, None", CSerialPort::Describe(1));
        EXPECT_STREQ("COM2", CSerialPort::GetConfig(1)->portName);
    }
    dir.Write("Serial.cfg", std::string(39 * 14, '\0') + Com2Record + std::string(600 - 40 * 14, '\0'));
    CSerialPort port;
    EXPECT_EQ("40 : 19200, 7, O, 2, Hard", CSerialPort::Describe(39));
}

TEST(SerialPortConfigTest, DamagedRecordsAreShownSafely)
{
    CTempDir dir;
    dir.Write("Serial.cfg", std::string(560, 'A'));  // names without a NUL, codes out of range
    CSerialPort port;
    const SerialPortConfig* record = CSerialPort::GetConfig(5);
    EXPECT_STREQ("AAAAA", record->portName);
    EXPECT_EQ(0x41414141u, uint32_t{record->baudRate});
    EXPECT_EQ("6 : 1094795585, 65, ?, ?, Unknown", CSerialPort::Describe(5));

    SerialPortConfig unterminated = SerialPortRecord::Default(2);
    std::memset(unterminated.portName, 'B', sizeof unterminated.portName);
    CSerialPort::SetConfig(2, unterminated);
    EXPECT_STREQ("BBBBB", CSerialPort::GetConfig(2)->portName);
}

TEST(SerialPortConfigTest, IndicesOutsideTheTableNeverReachIt)
{
    CTempDir dir;
    CSerialPort port;
    port.SetPort(39);
    EXPECT_EQ(39, port.GetPort());
    port.SetPort(40);
    port.SetPort(-1);
    EXPECT_EQ(39, port.GetPort());
    port.SetPort(0);
    EXPECT_EQ(0, port.GetPort());
    EXPECT_FALSE(port.IsOpen());

    EXPECT_EQ(CSerialPort::GetConfig(0), CSerialPort::GetConfig(40));
    EXPECT_EQ(CSerialPort::GetConfig(0), CSerialPort::GetConfig(-7));
    SerialPortConfig record = SerialPortRecord::Default(0);
    record.baudRate = 2400;
    CSerialPort::SetConfig(1000, record);
    EXPECT_EQ(2400u, uint32_t{CSerialPort::GetConfig(0)->baudRate});
}

TEST(SerialPortConfigTest, DeviceNamesAboveCom9NeedTheDevicePrefix)
{
    EXPECT_EQ("COM9", CSerialPort::DeviceName(8));
    EXPECT_EQ("\\\\.\\COM10", CSerialPort::DeviceName(9));
    EXPECT_STREQ("Unknown", CSerialPort::HandshakeName(-1));
}

// The settings dialogs may read and save the table before any port object
// exists; they must see the loaded file, never an empty table.  Runs in a
// fresh process so that no earlier test has built the table.
TEST(SerialPortConfigDeathTest, TableIsLoadedForStaticUseBeforeAnyInstance)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    CTempDir dir;
    dir.Write("Serial.cfg", Com2Record);
    const auto loadedBeforeAnyInstance = [] {
        const bool loaded = CSerialPort::GetConfig(0)->baudRate == 19200 &&
                            std::strcmp(CSerialPort::GetConfig(1)->portName, "COM2") == 0 &&
                            CSerialPort::GetConfig(39)->parity == 2;
        std::exit(loaded ? 0 : 1);
    };
    EXPECT_EXIT(loadedBeforeAnyInstance(), ::testing::ExitedWithCode(0), "");
}
