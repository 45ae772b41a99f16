#include "tests/acquisition/PseudoTerminalPosix.h"
#include "tools/vorlsim/launcher/SimulatorProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

// A file without a count plays over and over; a rate near 0 sends the first
// frame and then waits, however far beyond the clock's range the next is due.
TEST(VorlsimSerial, LoopsAFileWithoutCountAndPacesEvenANearZeroRate)
{
    CTempDir dir;
    std::ofstream(dir.Join("lines.txt")) << "A\nB\n";
    CPseudoTerminal looping, paced;
    const auto play = [&](CSimulatorProcess& vorlsim, CPseudoTerminal& terminal,
                          std::vector<std::string> options) {
        options.insert(options.begin(), {"serial", "--device", terminal.Device(), "--file",
                                         dir.Join("lines.txt"), "--terminator", "lf"});
        return vorlsim.Start(options, dir.Join("out.txt"));
    };
    CSimulatorProcess loop, slow;
    ASSERT_TRUE(play(loop, looping, {"--count", "0"}));
    ASSERT_TRUE(play(slow, paced, {"--count", "3", "--rate", "1e-20"}));
    EXPECT_EQ("A\nB\nA\nB\nA\n", looping.Read(10).substr(0, 10));
    EXPECT_EQ("A\n", paced.Read(3));
}
