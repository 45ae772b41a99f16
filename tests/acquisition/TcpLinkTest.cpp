#include "tests/acquisition/TcpTestLink.h"
#include "tools/vorlsim/TcpServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
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

// Listens on `port` (0: a port of the system's choice).
void Listen(CTcpServer& server, int port = 0)
{
    std::string error;
    ASSERT_TRUE(server.Listen("127.0.0.1", port, error)) << error;
}

// A port that nothing listens on any more.
int ClosedPort()
{
    CTcpServer gone;
    Listen(gone);
    return gone.Port();
}

// A link connected over loopback to an in-process server that plays the
// instrument byte for byte.
class TcpLink : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Listen(m_server);
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

// Frames are cut at the first LF held, else at the first CR, and end at a
// NUL; empty ones are skipped.  A line as long as the ring is dropped up to
// its end, one a byte shorter is a frame, cut to the longest frame text.
TEST_F(TcpLink, JoinsFramesSplitOverWritesAndKeepsReceivingAfterALineLongerThanTheRing)
{
    const std::string longest(CByteRing::kMaxHeld - 1, 'L');
    for (const std::string& bytes : {std::string("ABC\r\n\n\r\nDE"), std::string("F\r\nG"),
                                     "HI\nJ\r" + std::string(5000, 'x'), std::string(100, 'x') + "\r\nOK\r\n",
                                     std::string("N\0UL\r\n", 6) + longest, std::string("\n")})
    {
        Send(bytes);
        Pause();
    }
    ASSERT_TRUE(m_link.recorder.WaitFor(7));
    EXPECT_EQ(Frames({"ABC", "DEF", "GHI", "J", "OK", "N", longest.substr(0, CTcpClientLink::kMaxFrameText)}),
              m_link.recorder.Frames());
}

// A peer closing is reported once and the link stays open until Stop, which
// ends even an idle receive thread without an event; a new connection starts
// without the unfinished frame of the last one.
TEST_F(TcpLink, KnowsItsPeerReportsItClosingOnceAndStaysOpenUntilStop)
{
    SocketAddress peer;
    ASSERT_TRUE(m_link->GetPeerAddress(peer));
    EXPECT_EQ(SocketApi::kInet, peer.family);
    const unsigned char expected[] = {static_cast<unsigned char>(m_server.Port() >> 8),
                                      static_cast<unsigned char>(m_server.Port()), 127, 0, 0, 1};
    EXPECT_EQ(0, std::memcmp(reinterpret_cast<const unsigned char*>(&peer) + 2, expected, sizeof expected));
    Send("LAST\r\nUNFINI");
    m_server.CloseClient();
    ASSERT_TRUE(m_link.recorder.WaitFor(1, 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::vector<int> lost{kLinkEventConnectionLost};
    EXPECT_EQ(lost, m_link.recorder.Events());
    EXPECT_TRUE(m_link->IsOpen());
    EXPECT_FALSE(m_link->IsConnected());
    EXPECT_TRUE(m_link->IsReceiving());
    EXPECT_FALSE(m_link->StartReceiving());
    EXPECT_FALSE(m_link->Connect("127.0.0.1", Service().c_str()));
    // Stopping twice, or a closed link, is harmless.
    m_link->Stop();
    m_link->Stop();
    EXPECT_FALSE(m_link->IsOpen());
    EXPECT_FALSE(m_link->IsReceiving());
    EXPECT_FALSE(m_link->GetPeerAddress(peer));
    EXPECT_FALSE(m_link->StartReceiving());
    EXPECT_FALSE(m_link->Connect("127.0.0.1", "no-such-service-here"));
    EXPECT_FALSE(m_link->Connect("127.0.0.1", std::to_string(ClosedPort()).c_str()));
    EXPECT_FALSE(m_link->IsOpen());
    ConnectAndAccept();
    Send("FRESH\r\n");
    ASSERT_TRUE(m_link.recorder.WaitFor(2));
    EXPECT_EQ(Frames({"LAST", "FRESH"}), m_link.recorder.Frames());
    EXPECT_TRUE(m_link->IsConnected());
    m_link->Stop();
    EXPECT_FALSE(m_link->IsReceiving());
    EXPECT_EQ(lost, m_link.recorder.Events());
}

// A gateway that forwards a slow serial line sends byte by byte: a receive
// of one byte is data, not a lost connection; a read into no room takes
// nothing and loses nothing.
TEST(TcpLinkRead, OneByteIsDataAndAReadIntoNoRoomTakesNothing)
{
    CTcpServer server;
    Listen(server);
    CTcpTestLink link;
    ASSERT_TRUE(link->Connect("127.0.0.1", std::to_string(server.Port()).c_str()));
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(server.Write("A", 1));
    char buffer[8] = {};
    EXPECT_EQ(0, link->ReadChunk(buffer, 0, 1000));
    EXPECT_EQ(0, link->ReadChunk(nullptr, 8, 1000));
    EXPECT_EQ(1, link->ReadChunk(buffer, 8, 1000));
    EXPECT_EQ('A', buffer[0]);
    EXPECT_EQ(0, link->ReadChunk(buffer, 8, 50));
    server.CloseClient();
    EXPECT_EQ(-1, link->ReadChunk(buffer, 8, 1000));
}

// Frames that reached the station while the link was busy are delivered
// before Stop closes it: the instrument counts them as sent.
TEST_F(TcpLink, StopDeliversTheFramesThatHaveAlreadyArrived)
{
    m_link.recorder.delayMs = 300;
    Send("FIRST\r\n");
    while (!m_link.recorder.delivering)
        std::this_thread::yield();
    Send("SECOND\r\nTHIRD\r\nHAL");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    m_link->Stop();
    EXPECT_EQ(Frames({"FIRST", "SECOND", "THIRD"}), m_link.recorder.Frames());
}

TEST(TcpLinkAddress, ResolvesNumbersWithoutLookupNamesByLookupAndReportsTheLocalHostName)
{
    EXPECT_EQ(10001, CSocketLinkBase::ResolveService("10001"));
    EXPECT_EQ(0, CSocketLinkBase::ResolveService("no-such-service-here"));
    const std::pair<const char*, unsigned> hosts[] = {{"192.168.1.93", 0xC0A8015Du}, {"localhost", 0x7F000001u},
        {"255.255.255.255", 0xFFFFFFFFu}, {"no-such-host.invalid", 0xFFFFFFFFu}};
    for (const auto& host : hosts)
        EXPECT_EQ(host.second, CSocketLinkBase::ResolveHost(host.first)) << host.first;
    EXPECT_NE(0xFFFFFFFFu, CSocketLinkBase::ResolveHost(nullptr));

    SocketAddress address;
    ASSERT_TRUE(CSocketLinkBase::MakeAddress(address, "10.1.2.3", "258", SocketApi::kInet));
    const unsigned char expected[16] = {0, 0, 1, 2, 10, 1, 2, 3};
    EXPECT_EQ(SocketApi::kInet, address.family);
    EXPECT_EQ(0, std::memcmp(reinterpret_cast<const unsigned char*>(&address) + 2, expected + 2, 14));

    // Only into a buffer that holds it.
    char name[260] = {}, exact[260] = {};
    ASSERT_TRUE(CSocketLinkBase::GetLocalHostName(name, sizeof name));
    const size_t length = std::strlen(name);
    EXPECT_GT(length, 0u);
    EXPECT_TRUE(CSocketLinkBase::GetLocalHostName(exact, length + 1));
    EXPECT_STREQ(name, exact);
    EXPECT_FALSE(CSocketLinkBase::GetLocalHostName(exact, length));
    EXPECT_FALSE(CSocketLinkBase::GetLocalHostName(nullptr, 10));
}

// The recorder is still busy with a frame when the link goes, just before
// the recorder: the sanitizer catches a write after the recorder has gone.
TEST_F(TcpLink, ALinkDestroyedWhileDeliveringAFrameFinishesItFirst)
{
    m_link.recorder.delayMs = 200;
    Send("F\r\n");
    while (!m_link.recorder.delivering)
        std::this_thread::yield();
}

TEST(TcpLinkReconnect, StopEndsAnAttemptThatThePeerNeverAnswers)
{
    // A listener whose queue of unaccepted connections is full drops further
    // requests, which then wait for the system's time-out (minutes).
    CTcpServer server;
    Listen(server);
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
    const int port = ClosedPort();
    CTcpTestLink link;
    link->SetRetryInterval(50);
    ASSERT_TRUE(link->StartConnecting("127.0.0.1", std::to_string(port), true));
    // Refused a few times before anyone listens, and again after the loss.
    size_t frames = 0;
    for (const char* bytes : {"ONE\r\nUNFINI", "SHED\r\nTWO\r\n"})
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        CTcpServer server;
        Listen(server, port);
        ASSERT_TRUE(server.Accept());
        ASSERT_TRUE(server.Write(bytes, std::strlen(bytes)));
        ASSERT_TRUE(link.recorder.WaitFor(++frames));
        server.CloseClient();
    }
    ASSERT_TRUE(link.recorder.WaitFor(3));
    EXPECT_EQ(Frames({"ONE", "SHED", "TWO"}), link.recorder.Frames());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    link->Stop();
    EXPECT_EQ((std::vector<int>{kLinkEventConnectFailed, kLinkEventConnected, kLinkEventConnectionLost,
                                kLinkEventConnected, kLinkEventConnectionLost}),
              link.recorder.Events());
}

// A gateway that loses power sends no FIN: only keep-alive can tell.  Run
// in a network namespace of its own (`unshare -n`, QUORBEL_NETNS=1), where
// taking the loopback down drops every packet both ways.
TEST(TcpLinkVanishedPeer, KeepAliveFindsTheDeadConnectionAndTheLinkReconnectsWithoutLosingLaterFrames)
{
    if (!std::getenv("QUORBEL_NETNS"))
        GTEST_SKIP() << "needs a network namespace of its own (ctest -R tcp_link_vanished_peer)";
    ASSERT_EQ(0, std::system("ip link set lo up"));
    CTcpServer server;
    Listen(server);
    CTcpTestLink link;
    link->SetRetryInterval(200);
    link->SetKeepAlive(1000, 1000);
    ASSERT_TRUE(link->StartConnecting("127.0.0.1", std::to_string(server.Port()), true));
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(server.Write("BEFORE\r\n", 8));
    ASSERT_TRUE(link.recorder.WaitFor(1, 1));

    ASSERT_EQ(0, std::system("ip link set lo down"));
    // Ten probes a second apart after a second of silence.
    ASSERT_TRUE(link.recorder.WaitFor(1, 2, 30)) << "the dead connection went unnoticed";
    server.CloseClient();
    ASSERT_EQ(0, std::system("ip link set lo up"));

    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(link.recorder.WaitFor(1, 3));
    for (const char* frame : {"AFTER1\r\n", "AFTER2\r\n"})
        ASSERT_TRUE(server.Write(frame, std::strlen(frame)));
    ASSERT_TRUE(link.recorder.WaitFor(3, 3));
    link->Stop();
    EXPECT_EQ(Frames({"BEFORE", "AFTER1", "AFTER2"}), link.recorder.Frames());
    EXPECT_EQ((std::vector<int>{kLinkEventConnected, kLinkEventConnectionLost, kLinkEventConnected}),
              link.recorder.Events());
}
