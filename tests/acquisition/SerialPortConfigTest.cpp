#include "acquisition/SerialPort.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace
{
std::vector<unsigned char> ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// COM2 at 19200 baud, 7 data bits, hardware handshake, two stop bits, odd parity.
const unsigned char Com2Record[14] = {'C', 'O', 'M', '2', 0, 0, 0x00, 0x4B, 0x00, 0x00, 7, 1, 2, 1};
}

TEST(SerialPortConfigTest, RecordsRoundTripByteForByte)
{
    unsigned char encoded[14] = {};
    SerialPortRecord::Encode(SerialPortRecord::Decode(Com2Record), encoded);
    EXPECT_EQ(0, std::memcmp(Com2Record, encoded, sizeof encoded));
}

TEST(SerialPortConfigTest, FirstInstanceWithoutFileWritesTheDefaults)
{
    CTempDir dir;
    CSerialPort port;
    const std::vector<unsigned char> bytes = ReadBytes(dir.Join("Serial.cfg"));
    ASSERT_EQ(560u, bytes.size());
    const unsigned char com1[14] = {'C', 'O', 'M', '1', 0, 0, 0x80, 0x25, 0, 0, 8, 0, 0, 2};
    EXPECT_EQ(0, std::memcmp(com1, bytes.data(), sizeof com1));
    const SerialPortConfig last = SerialPortRecord::Decode(bytes.data() + 39 * 14);
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
    EXPECT_EQ(560u, ReadBytes(dir.Join("Serial.cfg")).size());
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
    std::vector<unsigned char> bytes(Com2Record, Com2Record + 14);
    bytes.insert(bytes.end(), {'X', 'Y', 'Z', 0, 0, 0, 1, 2});  // 8 bytes of a second record
    WriteBytes(dir.Join("Serial.cfg"), bytes);
    {
        CSerialPort port;
        EXPECT_EQ("1 : 19200, 7, O, 2, Hard", CSerialPort::Describe(0));
        EXPECT_STREQ("COM2", CSerialPort::GetConfig(0)->portName);
        EXPECT_EQ("2 : 9600, 8, E, 1, None", CSerialPort::Describe(1));
        EXPECT_STREQ("COM2", CSerialPort::GetConfig(1)->portName);
    }
    std::vector<unsigned char> tooLong(600, 0);
    std::memcpy(tooLong.data() + 39 * 14, Com2Record, 14);
    WriteBytes(dir.Join("Serial.cfg"), tooLong);
    CSerialPort port;
    EXPECT_EQ("40 : 19200, 7, O, 2, Hard", CSerialPort::Describe(39));
}

TEST(SerialPortConfigTest, DamagedRecordsAreShownSafely)
{
    CTempDir dir;
    std::vector<unsigned char> bytes(560, 'A');  // names without a NUL, codes out of range
    WriteBytes(dir.Join("Serial.cfg"), bytes);
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
    WriteBytes(dir.Join("Serial.cfg"), std::vector<unsigned char>(Com2Record, Com2Record + 14));
    const auto loadedBeforeAnyInstance = [] {
        const bool loaded = CSerialPort::GetConfig(0)->baudRate == 19200 &&
                            std::strcmp(CSerialPort::GetConfig(1)->portName, "COM2") == 0 &&
                            CSerialPort::GetConfig(39)->parity == 2;
        std::exit(loaded ? 0 : 1);
    };
    EXPECT_EXIT(loadedBeforeAnyInstance(), ::testing::ExitedWithCode(0), "");
}
