// The link over a real pseudo-terminal: the test holds the master side and
// the port "COM3" of the working directory links to the slave side.
#include "tests/acquisition/SerialTestLink.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace
{
class SerialPtyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(m_master, 0);
        ASSERT_EQ(0, grantpt(m_master));
        ASSERT_EQ(0, unlockpt(m_master));
        ASSERT_EQ(0, symlink(ptsname(m_master), m_dir.Join("COM3").c_str()));
    }
    void TearDown() override
    {
        if (m_master >= 0)
            close(m_master);
    }
    // A link on "COM3", the terminal's slave side.
    static void OpenCom3(CSerialTestLink& link)
    {
        link.SetPort(2);
        ASSERT_TRUE(link.Open());
    }
    void Send(const std::string& bytes)
    {
        ASSERT_EQ(static_cast<ssize_t>(bytes.size()), write(m_master, bytes.data(), bytes.size()));
    }

    CTempDir m_dir;
    int m_master = -1;
};

using Frames = std::vector<std::string>;
}

TEST_F(SerialPtyTest, FramesFromRealBytes)
{
    CSerialTestLink link;
    OpenCom3(link);
    EXPECT_TRUE(link.IsOpen());
    const std::string longRun(600, 'x');
    Send("ABC\r\n" "\x02" "AB\x03" "AB\n\rD\n" + longRun);
    const Frames expected{"ABC", "AB", "AB", "\rD", longRun.substr(0, 511)};
    EXPECT_EQ(expected, PollFrames(link, expected.size(), 5));

    // The 88 bytes after the cut wait across failed polls for their terminator.
    int length = 0;
    EXPECT_FALSE(link.Poll(length));
    Send("\n");
    EXPECT_EQ(Frames{std::string(88, 'x')}, PollFrames(link, 1, 5));
    EXPECT_TRUE(link.m_reports.empty());
}

TEST_F(SerialPtyTest, FailedOpenTakesNoOpenCount)
{
    CSerialTestLink link;
    link.SetPort(4);
    EXPECT_FALSE(link.Open());
    EXPECT_FALSE(link.IsOpen());
    ASSERT_EQ(1u, link.m_reports.size());
    EXPECT_EQ("No such file or directory\r\n\n Serial Port -> COM5", link.m_reports[0].text);
    EXPECT_TRUE(link.m_reports[0].stopIcon);

    ASSERT_EQ(0, symlink(ptsname(m_master), m_dir.Join("COM5").c_str()));
    ASSERT_TRUE(link.Open());
    link.Close();
    EXPECT_FALSE(link.IsOpen());
}

TEST_F(SerialPtyTest, InstancesOnOnePortShareTheDevice)
{
    CSerialTestLink first;
    CSerialTestLink second;
    OpenCom3(first);
    OpenCom3(second);
    first.Close();
    EXPECT_TRUE(second.IsOpen());
    {
        // An instance that never opened the port gives back nothing when it goes.
        CSerialTestLink bystander;
        bystander.SetPort(2);
    }
    EXPECT_TRUE(second.IsOpen());
    Send("shared\r");
    EXPECT_EQ(Frames{"shared"}, PollFrames(second, 1, 5));
    second.Close();
    EXPECT_FALSE(first.IsOpen());
}

TEST_F(SerialPtyTest, InvalidHandshakeIsReportedAndThePortStillOpens)
{
    CSerialTestLink link;
    SerialPortConfig record = *CSerialPort::GetConfig(2);
    record.handshake = 3;
    CSerialPort::SetConfig(2, record);
    OpenCom3(link);
    ASSERT_EQ(1u, link.m_reports.size());
    EXPECT_EQ("COM3 - Hanskahe setup error !!!!", link.m_reports[0].text);
    EXPECT_FALSE(link.m_reports[0].stopIcon);
    Send("ok\r\n");
    EXPECT_EQ(Frames{"ok"}, PollFrames(link, 1, 5));
}
