#include "tools/vorlsim/launcher/SimulatorProcess.h"

#include <chrono>
#include <fstream>
#include <thread>

int CSimulatorProcess::WaitForPort(const std::string& readyFile)
{
    for (int attempt = 0; attempt < 1000 && IsRunning(); ++attempt)
    {
        std::ifstream in(readyFile);
        int port = 0;
        if (in >> port)
            return port;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}
