#include "tools/vorlsim/SimOptions.h"
#include "tools/vorlsim/Simulator.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
bool AsksForHelp(const std::vector<std::string>& args)
{
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& arg) { return arg == "--help" || arg == "-h"; });
}
}

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (AsksForHelp(args))
    {
        std::fputs(CSimOptions::Usage().c_str(), stdout);
        return 0;
    }
    CSimOptions options;
    std::string error;
    if (!options.Parse(args, error))
    {
        std::fprintf(stderr, "vorlsim: %s (vorlsim --help lists the options)\n", error.c_str());
        return 2;
    }
    static char echoBuffer[1 << 16];
    std::setvbuf(stdout, echoBuffer, _IOFBF, sizeof echoBuffer);
    return CSimulator(options).Run();
}
