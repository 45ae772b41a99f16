// The Win32 serial link over a real pseudo-terminal.  serial-pty-test.sh
// maps the terminal to a COM port of the Wine prefix, runs one test of this
// program in a scratch directory and plays the instrument's side.  Both
// sides meet through marker files in that directory: the program creates
// "<name>.probe" when it is ready for a step, the script "<name>.script"
// when it has done its part.
#include "tests/acquisition/SerialTestLink.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace
{
constexpr DWORD MarkerTimeoutMs = 20000;
// Idle polls (about 61 ms each) before a test decides no more frames come.
constexpr int IdlePollLimit = 80;

// Tells the script the probe is ready for its step `done`, then waits for
// the script's `next` step.
bool Step(const std::string& done, const std::string& next)
{
    std::ofstream((done + ".probe").c_str()).put('\n');
    const std::string path = next + ".script";
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
    {
        if (GetTickCount() - start > MarkerTimeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

std::string SystemMessage(DWORD error)
{
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text, nullptr);
    return text;
}

using Frames = std::vector<std::string>;

// The script maps COM10, which opens only under its "\\.\COM10" name.
constexpr int Com10 = 9;
}

TEST(SerialPtyProbe, PortRules)
{
    CSerialTestLink link;
    link.SetPort(Com10);
    EXPECT_FALSE(link.Open());
    EXPECT_FALSE(link.IsOpen());
    const CSerialTestLink::Reports failed{{SystemMessage(ERROR_FILE_NOT_FOUND) + "\n Serial Port -> COM10", true}};
    EXPECT_EQ(failed, link.m_reports);
    ASSERT_TRUE(Step("failed", "mapped"));

    // Under its "\\.\COM10" name the port opens, at the record's line settings.
    ASSERT_TRUE(link.Open());
    ASSERT_TRUE(Step("opened", "sent"));
    EXPECT_EQ(Frames{"ABC"}, PollFrames(link, 1, IdlePollLimit));

    // The other end goes, as an unplugged adapter does.  Wine's reads then
    // still time out, but the port's name is gone.
    int length = 0;
    EXPECT_FALSE(link.DeviceGone());
    ASSERT_TRUE(Step("read", "unplugged"));
    EXPECT_FALSE(link.Poll(length));
    EXPECT_TRUE(link.DeviceGone());
    link.Close();
    EXPECT_FALSE(link.Open(false));
    ASSERT_TRUE(Step("closed", "replugged"));
    ASSERT_TRUE(link.Open(false));
    link.Reset();
    ASSERT_TRUE(Step("reopened", "resent"));
    EXPECT_EQ(Frames{"back"}, PollFrames(link, 1, IdlePollLimit));
    EXPECT_EQ(failed, link.m_reports) << "a quiet reopen shows no message box";
}
