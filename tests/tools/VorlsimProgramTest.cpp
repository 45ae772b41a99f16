#include "tools/vorlsim/launcher/SimulatorProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

int ExitCodeOf(const std::vector<std::string>& args)
{
    CTempDir dir;
    CSimulatorProcess vorlsim;
    EXPECT_TRUE(vorlsim.Start(args, dir.Join("out.txt")));
    int code = -1;
    EXPECT_TRUE(vorlsim.WaitForExit(20000, code));
    return code;
}
}

// --help is taken after the mode too.
TEST(VorlsimProgram, EndsWithCodeTwoOnBadInput)
{
    EXPECT_EQ(2, ExitCodeOf({"tcp", "--unknown"}));
    EXPECT_EQ(2, ExitCodeOf({"serial", "--device", "no-such-device-dir/ttyNONE", "--count", "1"}));
    EXPECT_EQ(2, ExitCodeOf({"tcp", "--file", "no-such-file.txt"}));
    EXPECT_EQ(0, ExitCodeOf({"--help"}));
    EXPECT_EQ(0, ExitCodeOf({"tcp", "--help"}));
    EXPECT_EQ(0, ExitCodeOf({"serial", "--device", "x", "-h"}));
}
