#include "tools/vorlsim/SimOptions.h"
#include "tools/vorlsim/Simulator.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h"))
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
