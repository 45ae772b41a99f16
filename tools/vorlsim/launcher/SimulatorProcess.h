#pragma once
#include <cstdint>
#include <string>
#include <vector>

// vorlsim run as a separate process, found beside the program that runs
// it, with its standard output going to a file.  Ended (killed if need be)
// and waited for when the object goes.
class CSimulatorProcess
{
public:
    CSimulatorProcess() = default;
    ~CSimulatorProcess();
    CSimulatorProcess(const CSimulatorProcess&) = delete;
    CSimulatorProcess& operator=(const CSimulatorProcess&) = delete;

    bool Start(const std::vector<std::string>& args, const std::string& outputPath);
    // False when the process is still running after `timeoutMs`.
    bool WaitForExit(int timeoutMs, int& exitCode);
    bool IsRunning();
    // The port vorlsim listens on, read from its --ready-file once written;
    // 0 when it ends first or takes more than about ten seconds.
    int WaitForPort(const std::string& readyFile);

private:
    intptr_t m_process = 0;  // the process id, or the process's handle
    int m_status = -1;       // natively: -1 until the process has been reaped
};
