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
}

// The first instance writes the defaults when there is no file and loads the
// file otherwise; a second instance keeps the table in memory.
TEST(SerialPortConfigTest, DefaultsSavedRecordsAndTheTableInMemory)
{
    CTempDir dir;
    {
        CSerialPort port;
        const std::string bytes = dir.Read("Serial.cfg");
        ASSERT_EQ(560u, bytes.size());
        EXPECT_EQ(std::string("COM1\0\0\x80\x25\0\0\x08\0\0\2", 14), bytes.substr(0, 14));
        EXPECT_EQ("COM40", bytes.substr(39 * 14, 5));
        EXPECT_EQ("40 : 9600, 8, E, 1, None", CSerialPort::Describe(39));
        CSerialPort::SetConfig(11, {"COM12", 115200, 7, 2, 1, 0});
        CSerialPort::SaveConfig();
        CSerialPort::SetConfig(11, SerialPortRecord::Default(11));
        CSerialPort second;
        EXPECT_EQ("12 : 9600, 8, E, 1, None", CSerialPort::Describe(11));
    }
    CSerialPort reloaded;
    EXPECT_EQ("12 : 115200, 7, N, 1.5, Soft", CSerialPort::Describe(11));
}

TEST(SerialPortConfigTest, ShortLongOrDamagedFilesGiveWholeRecordsShownSafely)
{
    const std::string shortFile = Com2Record + std::string("XYZ\0\0\0\1\2", 8);  // 8 bytes of a second record
    const struct { std::string file; int index; const char* name; const char* described; } cases[] = {
        {shortFile, 0, "COM2", "1 : 19200, 7, O, 2, Hard"},
        {shortFile, 1, "COM2", "2 : 9600, 8, E, 1, None"},
        {std::string(39 * 14, '\0') + Com2Record + std::string(40, '\0'), 39, "COM2", "40 : 19200, 7, O, 2, Hard"},
        // Names without a NUL, codes out of range.
        {std::string(560, 'A'), 5, "AAAAA", "6 : 1094795585, 65, ?, ?, Unknown"},
    };
    for (const auto& c : cases)
    {
        CTempDir dir;
        dir.Write("Serial.cfg", c.file);
        CSerialPort port;
        EXPECT_STREQ(c.name, CSerialPort::GetConfig(c.index)->portName) << c.described;
        EXPECT_EQ(c.described, CSerialPort::Describe(c.index));
    }
}

TEST(SerialPortConfigTest, IndicesOutsideTheTableNeverReachIt)
{
    CTempDir dir;
    CSerialPort port;
    port.SetPort(39);
    port.SetPort(40);
    port.SetPort(-1);
    EXPECT_EQ(39, port.GetPort());
    port.SetPort(0);
    EXPECT_EQ(0, port.GetPort());
    EXPECT_EQ(CSerialPort::GetConfig(0), CSerialPort::GetConfig(40));
    EXPECT_EQ(CSerialPort::GetConfig(0), CSerialPort::GetConfig(-7));
    SerialPortConfig unterminated = SerialPortRecord::Default(0);
    std::memset(unterminated.portName, 'B', sizeof unterminated.portName);
    CSerialPort::SetConfig(1000, unterminated);
    EXPECT_STREQ("BBBBB", CSerialPort::GetConfig(0)->portName);
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
