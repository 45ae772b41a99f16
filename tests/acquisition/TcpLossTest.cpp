#include "tools/vorlsim/launcher/SimulatorProcess.h"
#include "tests/acquisition/TcpTestLink.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// Frames vorlsim sends in one run; smaller under Wine, where the two
// programs run much slower.
#ifdef _WIN32
static constexpr int kFrames = 20000;
#else
static constexpr int kFrames = 100000;
#endif

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

    // vorlsim echoes each frame on a line of its own once it has been written whole.
    std::string sent = dir.Read("echo.txt"), received;
    sent.erase(std::remove(sent.begin(), sent.end(), '\r'), sent.end());
    const std::vector<std::string> frames = link.recorder.Frames();
    ASSERT_EQ(static_cast<size_t>(kFrames), frames.size());
    for (const std::string& frame : frames)
        received += frame + "\n";
    EXPECT_TRUE(sent == received) << "the frames received differ from those sent";
}
