// The link over a real pseudo-terminal: the test holds the controlling side
// and the port "COM3" of the working directory links to the other end.
#include "acquisition/SerialPortList.h"
#include "acquisition/SerialReceiver.h"
#include "tests/acquisition/PseudoTerminalPosix.h"
#include "tests/acquisition/SerialTestLink.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace
{
class SerialPtyTest : public ::testing::Test
{
protected:
    void SetUp() override { LinkPort("COM3"); }
    void LinkPort(const char* port) { ASSERT_EQ(0, symlink(m_pty->Device().c_str(), m_dir.Join(port).c_str())); }
    void Send(const std::string& bytes) { ASSERT_TRUE(m_pty->Write(bytes)); }

    CTempDir m_dir;
    std::optional<CPseudoTerminal> m_pty{std::in_place};
};

using Frames = std::vector<std::string>;
using Reports = CSerialTestLink::Reports;
}

TEST_F(SerialPtyTest, PortRules)
{
    CSerialTestLink first;
    first.SetPort(4);
    EXPECT_FALSE(first.Open());
    EXPECT_FALSE(first.IsOpen());
    EXPECT_EQ(Reports({{"No such file or directory\r\n\n Serial Port -> COM5", true}}), first.m_reports);
    LinkPort("COM5");
    // Natively the ports are the entries named after them in the working directory.
    const CSerialPortList list;
    ASSERT_EQ(2, list.GetCount());
    EXPECT_STREQ("COM3", list.GetAt(0));
    EXPECT_STREQ("COM5", list.GetAt(1));

    // The failed open took no count: one Close per successful Open closes the device.
    CSerialTestLink second;
    second.SetPort(4);
    ASSERT_TRUE(first.Open());
    ASSERT_TRUE(second.Open());
    first.Close();
    {
        // An instance that never opened the port gives back nothing, by Close or when it goes.
        CSerialTestLink bystander;
        bystander.SetPort(4);
        bystander.Close();
    }
    Send("shared\r");
    EXPECT_EQ(Frames{"shared"}, PollFrames(second, 1, 5));
    second.Close();
    EXPECT_FALSE(first.IsOpen());
    EXPECT_TRUE(m_pty->OtherEndClosed());
    {
        // A Close before any Open holds nothing back: going, the link closes what it opened.
        CSerialTestLink early;
        early.SetPort(4);
        early.Close();
        ASSERT_TRUE(early.Open());
    }
    EXPECT_FALSE(first.IsOpen());

    // Handshakes 0 to 2 are valid; a damaged code is reported and left out.
    SerialPortConfig record = *CSerialPort::GetConfig(4);
    record.handshake = 2;
    CSerialPort::SetConfig(4, record);
    ASSERT_TRUE(second.Open());
    second.Close();
    EXPECT_TRUE(second.m_reports.empty());
    record.handshake = 3;
    CSerialPort::SetConfig(4, record);
    ASSERT_TRUE(second.Open());
    EXPECT_EQ(Reports({{"COM5 - Hanskahe setup error !!!!", false}}), second.m_reports);
    Send("ok\r\n");
    EXPECT_EQ(Frames{"ok"}, PollFrames(second, 1, 5));
}

// Collects a serial receiver's frames and events, with bounded waits.
class CSerialRecorder : public ISerialSink
{
public:
    void OnSerialFrame(const std::string& frame) override
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        frames.push_back(frame);
        m_changed.notify_all();
    }
    void OnSerialEvent(Event event) override
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        events.push_back(event);
        m_changed.notify_all();
    }
    bool WaitFor(size_t frameCount, size_t eventCount)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [&] {
            return frames.size() >= frameCount && events.size() >= eventCount;
        });
    }

    Frames frames;
    std::vector<Event> events;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
};

// The bytes after a cut frame wait across polls for their terminator; a
// terminal that vanishes is reported once and opened again, quietly, when
// it is back; Stop ends the thread in the middle of its reads.
TEST_F(SerialPtyTest, TheReceiverDeliversFramesAndReopensAVanishedTerminal)
{
    CSerialTestLink link;
    link.SetPort(2);
    ASSERT_TRUE(link.Open());
    EXPECT_TRUE(link.IsOpen());
    CSerialRecorder sink;
    CSerialReceiver receiver(link, sink);
    ASSERT_TRUE(receiver.Start(true));
    EXPECT_FALSE(receiver.Start(true));
    const std::string longRun(600, 'x');
    Send("ABC\r\n" "\x02" "AB\x03" + longRun);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Send("\n");
    ASSERT_TRUE(sink.WaitFor(4, 0));
    EXPECT_EQ(Frames({"ABC", "AB", longRun.substr(0, 511), std::string(88, 'x')}), sink.frames);

    m_pty.reset();
    ASSERT_TRUE(sink.WaitFor(4, 1));
    EXPECT_FALSE(link.IsOpen());
    ASSERT_EQ(0, unlink(m_dir.Join("COM3").c_str()));
    m_pty.emplace();
    LinkPort("COM3");
    ASSERT_TRUE(sink.WaitFor(4, 2));
    Send("back\r\n");
    ASSERT_TRUE(sink.WaitFor(5, 2));
    EXPECT_EQ("back", sink.frames.back());
    EXPECT_EQ((std::vector<ISerialSink::Event>{ISerialSink::Event::Lost, ISerialSink::Event::Reopened}),
              sink.events);
    EXPECT_TRUE(link.m_reports.empty());
    receiver.Stop();
    EXPECT_FALSE(receiver.IsRunning());

    // Without reopening, a closed port leaves the thread asleep until Stop,
    // not spinning: the process takes almost no processor time meanwhile.
    link.Close();
    ASSERT_TRUE(receiver.Start(false));
    const std::clock_t before = std::clock();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_LT(std::clock() - before, CLOCKS_PER_SEC / 5);
    receiver.Stop();
    EXPECT_FALSE(link.IsOpen());
}
