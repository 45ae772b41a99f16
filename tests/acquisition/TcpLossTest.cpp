#include "tests/acquisition/SimulatorProcess.h"
#include "tests/acquisition/TcpTestLink.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace
{
// Frames vorlsim sends in one run; smaller under Wine, where the two
// programs run much slower.
#ifdef _WIN32
constexpr int kFrames = 20000;
#else
constexpr int kFrames = 100000;
#endif

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}
}

// Sockets are started by the environment of TcpLinkTest.cpp, in the same program.
TEST(TcpLoss, EveryFrameOfARandomlyChunkedStreamArrivesOnceInOrderUnchanged)
{
    CTempDir dir;
    const std::string readyFile = dir.Join("ready.txt");
    const std::string echoFile = dir.Join("echo.txt");
    CSimulatorProcess simulator;
    ASSERT_TRUE(simulator.Start({"tcp", "--port", "0", "--clients", "1", "--count",
                                 std::to_string(kFrames), "--rate", "0", "--chunk", "random",
                                 "--terminator", "crlf", "--seed", "20261206", "--echo",
                                 "--ready-file", readyFile},
                                echoFile));
    const int port = simulator.WaitForPort(readyFile);
    ASSERT_NE(0, port);

    CTcpTestLink link;
    ASSERT_TRUE(link->Connect("127.0.0.1", std::to_string(port).c_str()));
    ASSERT_TRUE(link->StartReceiving());
    // vorlsim closes the connection after its last frame.
    ASSERT_TRUE(link.recorder.WaitFor(0, 1, 90)) << link.recorder.Frames().size() << " frames so far";
    int exitCode = -1;
    ASSERT_TRUE(simulator.WaitForExit(10000, exitCode));
    EXPECT_EQ(0, exitCode);
    link->Stop();

    const std::vector<std::string> sent = ReadLines(echoFile);
    ASSERT_EQ(static_cast<size_t>(kFrames), sent.size());
    const std::vector<std::string> received = link.recorder.Frames();
    ASSERT_EQ(sent.size(), received.size());
    for (size_t i = 0; i < sent.size(); ++i)
        ASSERT_EQ(sent[i], received[i]) << "frame " << i;
}
