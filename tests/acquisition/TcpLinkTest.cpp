#include "acquisition/LinkMessages.h"
#include "tests/acquisition/TcpTestLink.h"
#include "tools/vorlsim/TcpServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{
// The application starts Winsock; here the test program does.
class SocketEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { ASSERT_TRUE(SocketApi::Startup()); }
    void TearDown() override { SocketApi::Cleanup(); }
};

const auto* const kSockets = ::testing::AddGlobalTestEnvironment(new SocketEnvironment);

using Frames = std::vector<std::string>;

// A link connected over loopback to an in-process server that plays the
// instrument byte for byte.
class TcpLink : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(m_server.Listen("127.0.0.1", 0, error)) << error;
        ConnectAndAccept();
    }

    void ConnectAndAccept()
    {
        ASSERT_TRUE(m_link->Connect("127.0.0.1", Service().c_str()));
        ASSERT_TRUE(m_server.Accept());
        ASSERT_TRUE(m_link->StartReceiving());
    }

    std::string Service() const { return std::to_string(m_server.Port()); }

    void Send(const std::string& bytes) { ASSERT_TRUE(m_server.Write(bytes.data(), bytes.size())); }

    // Lets the link take what has been sent so far before the next write.
    static void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(30)); }

    CTcpServer m_server;
    CTcpTestLink m_link;
};
}

TEST_F(TcpLink, JoinsFramesSplitOverWritesWithMixedTerminators)
{
    Send("ABC\r\nDE");
    Pause();
    Send("F\r\nG");
    Pause();
    Send("HI\nJ\r");
    ASSERT_TRUE(m_link.recorder.WaitForFrames(4));
    EXPECT_EQ(Frames({"ABC", "DEF", "GHI", "J"}), m_link.recorder.Frames());
}

TEST_F(TcpLink, KeepsReceivingAfterALineLongerThanTheRing)
{
    Send(std::string(5000, 'x'));
    Pause();
    Send(std::string(100, 'x') + "\r\nOK\r\n");
    ASSERT_TRUE(m_link.recorder.WaitForFrames(1));
    Send("AGAIN\r\n");
    ASSERT_TRUE(m_link.recorder.WaitForFrames(2));
    EXPECT_EQ(Frames({"OK", "AGAIN"}), m_link.recorder.Frames());
}

TEST_F(TcpLink, ReportsThePeerClosingOnceAndStaysOpenUntilStop)
{
    Send("LAST\r\n");
    m_server.CloseClient();
    ASSERT_TRUE(m_link.recorder.WaitForEvent());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(std::vector<int>{kLinkEventConnectionLost}, m_link.recorder.Events());
    EXPECT_EQ(Frames{"LAST"}, m_link.recorder.Frames());
    EXPECT_TRUE(m_link->IsOpen());
    EXPECT_TRUE(m_link->IsReceiving());
    EXPECT_FALSE(m_link->StartReceiving());
    EXPECT_FALSE(m_link->Connect("127.0.0.1", Service().c_str()));
    m_link->Stop();
    EXPECT_FALSE(m_link->IsOpen());
    EXPECT_FALSE(m_link->IsReceiving());
}

TEST_F(TcpLink, StartsANewConnectionWithoutTheOldUnfinishedFrame)
{
    // One small write arrives whole: once DONE is in, UNFINI is held.
    Send("DONE\r\nUNFINI");
    ASSERT_TRUE(m_link.recorder.WaitForFrames(1));
    m_link->Stop();
    m_server.CloseClient();
    ConnectAndAccept();
    Send("FRESH\r\n");
    ASSERT_TRUE(m_link.recorder.WaitForFrames(2));
    EXPECT_EQ(Frames({"DONE", "FRESH"}), m_link.recorder.Frames());
}

TEST_F(TcpLink, KnowsItsPeerUntilStopEndsTheIdleThreadWithoutAnEvent)
{
    SocketAddress peer;
    ASSERT_TRUE(m_link->GetPeerAddress(peer));
    EXPECT_EQ(SocketApi::kInet, peer.family);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&peer);
    EXPECT_EQ(m_server.Port(), bytes[2] << 8 | bytes[3]);
    EXPECT_EQ(127, bytes[4]);
    EXPECT_EQ(1, bytes[7]);
    ASSERT_TRUE(m_link->IsReceiving());
    m_link->Stop();
    EXPECT_FALSE(m_link->IsReceiving());
    EXPECT_FALSE(m_link->IsOpen());
    EXPECT_FALSE(m_link->GetPeerAddress(peer));
    EXPECT_TRUE(m_link.recorder.Events().empty());
    // Stopping twice, or a closed link, is harmless.
    m_link->Stop();
    EXPECT_FALSE(m_link->StartReceiving());
}

TEST(TcpLinkConnect, FailsWithoutAListenerOrWithAnUnknownService)
{
    CTcpServer server;
    std::string error;
    ASSERT_TRUE(server.Listen("127.0.0.1", 0, error)) << error;
    const std::string service = std::to_string(server.Port());
    CTcpTestLink link;
    EXPECT_FALSE(link->Connect("127.0.0.1", "no-such-service-here"));
    EXPECT_FALSE(link->IsOpen());
    EXPECT_FALSE(link->StartReceiving());
    ASSERT_TRUE(link->Connect("127.0.0.1", service.c_str()));
    link->Stop();

    std::string closedService;
    {
        CTcpServer gone;
        ASSERT_TRUE(gone.Listen("127.0.0.1", 0, error)) << error;
        closedService = std::to_string(gone.Port());
    }
    EXPECT_FALSE(link->Connect("127.0.0.1", closedService.c_str()));
    EXPECT_FALSE(link->IsOpen());
}

TEST(TcpLinkAddress, ResolvesNumbersWithoutLookupAndNamesByLookup)
{
    EXPECT_EQ(10001, CSocketLinkBase::ResolveService("10001"));
    EXPECT_EQ(0, CSocketLinkBase::ResolveService("no-such-service-here"));
    EXPECT_EQ(0xC0A8015Du, CSocketLinkBase::ResolveHost("192.168.1.93"));
    EXPECT_EQ(0x7F000001u, CSocketLinkBase::ResolveHost("localhost"));
    EXPECT_EQ(0xFFFFFFFFu, CSocketLinkBase::ResolveHost("255.255.255.255"));
    EXPECT_EQ(0xFFFFFFFFu, CSocketLinkBase::ResolveHost("no-such-host.invalid"));

    SocketAddress address;
    ASSERT_TRUE(CSocketLinkBase::MakeAddress(address, "10.1.2.3", "258", SocketApi::kInet));
    const auto* bytes = reinterpret_cast<const unsigned char*>(&address);
    const unsigned char expected[16] = {0, 0, 1, 2, 10, 1, 2, 3};
    EXPECT_EQ(SocketApi::kInet, address.family);
    EXPECT_EQ(0, std::memcmp(bytes + 2, expected + 2, 14));
}

TEST(TcpLinkAddress, ReportsTheLocalHostNameOnlyIntoABufferThatHoldsIt)
{
    char name[260] = {};
    ASSERT_TRUE(CSocketLinkBase::GetLocalHostName(name, sizeof name));
    const size_t length = std::strlen(name);
    EXPECT_GT(length, 0u);
    char exact[260] = {};
    EXPECT_TRUE(CSocketLinkBase::GetLocalHostName(exact, length + 1));
    EXPECT_STREQ(name, exact);
    EXPECT_FALSE(CSocketLinkBase::GetLocalHostName(exact, length));
    EXPECT_FALSE(CSocketLinkBase::GetLocalHostName(nullptr, 10));
    EXPECT_NE(0xFFFFFFFFu, CSocketLinkBase::ResolveHost(nullptr));
}

namespace
{
// Still busy with a frame when its link goes.  The length is written into
// heap storage reserved up front: the sanitizer catches a write to it once
// the sink has gone.
class CSlowSink : public CLinkSink
{
public:
    explicit CSlowSink(std::atomic<bool>& delivering) : m_delivering(delivering) { m_lengths.reserve(4); }
    void OnFrame(const char*, int length, const SocketAddress&) override
    {
        m_delivering = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        m_lengths.push_back(length);
    }
    void OnLinkEvent(int) override {}

private:
    std::atomic<bool>& m_delivering;
    std::vector<int> m_lengths;
};
}

TEST(TcpLinkTeardown, ALinkDestroyedWhileDeliveringAFrameFinishesItFirst)
{
    CTcpServer server;
    std::string error;
    ASSERT_TRUE(server.Listen("127.0.0.1", 0, error)) << error;
    std::atomic<bool> delivering{false};
    {
        CTcpClientLink link(std::make_unique<CSlowSink>(delivering));
        ASSERT_TRUE(link.Connect("127.0.0.1", std::to_string(server.Port()).c_str()));
        ASSERT_TRUE(server.Accept());
        ASSERT_TRUE(link.StartReceiving());
        ASSERT_TRUE(server.Write("F\r\n", 3));
        while (!delivering)
            std::this_thread::yield();
    }
}

TEST(TcpLinkReconnect, StopEndsAnAttemptThatThePeerNeverAnswers)
{
    // A listener whose queue of unaccepted connections is full drops further
    // requests, which then wait for the system's time-out (minutes).
    CTcpServer server;
    std::string error;
    ASSERT_TRUE(server.Listen("127.0.0.1", 0, error)) << error;
    std::vector<std::unique_ptr<CTcpTestLink>> links(8);
    for (auto& link : links)
    {
        link = std::make_unique<CTcpTestLink>();
        ASSERT_TRUE((*link)->StartConnecting("127.0.0.1", std::to_string(server.Port()), true));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    int unanswered = 0;
    for (auto& link : links)
    {
        const std::vector<int> events = link->recorder.Events();
        unanswered += events.empty();
        (*link)->Stop();
        EXPECT_FALSE((*link)->IsOpen());
        EXPECT_EQ(events, link->recorder.Events());
    }
    EXPECT_GT(unanswered, 0);
}

TEST(TcpLinkReconnect, ConnectsAgainByItselfAndDeliversEveryFrameOnceNoneJoined)
{
    std::string error;
    int port = 0;
    {
        CTcpServer gone;
        ASSERT_TRUE(gone.Listen("127.0.0.1", 0, error)) << error;
        port = gone.Port();
    }
    CTcpTestLink link;
    link->SetRetryInterval(50);
    ASSERT_TRUE(link->StartConnecting("127.0.0.1", std::to_string(port), true));
    // Refused a few times before anyone listens, and again after the loss.
    for (const char* bytes : {"ONE\r\nUNFINI", "SHED\r\nTWO\r\n"})
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        CTcpServer server;
        ASSERT_TRUE(server.Listen("127.0.0.1", port, error)) << error;
        ASSERT_TRUE(server.Accept());
        ASSERT_TRUE(server.Write(bytes, std::strlen(bytes)));
        ASSERT_TRUE(link.recorder.WaitForFrames(link.recorder.Frames().size() + 1));
        server.CloseClient();
    }
    ASSERT_TRUE(link.recorder.WaitForFrames(3));
    EXPECT_EQ(Frames({"ONE", "SHED", "TWO"}), link.recorder.Frames());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    link->Stop();
    EXPECT_EQ((std::vector<int>{kLinkEventConnectFailed, kLinkEventConnected, kLinkEventConnectionLost,
                                kLinkEventConnected, kLinkEventConnectionLost}),
              link.recorder.Events());
}
