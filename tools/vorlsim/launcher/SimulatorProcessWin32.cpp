#include "tools/vorlsim/launcher/SimulatorProcess.h"

#include <windows.h>

namespace
{
HANDLE Process(intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}
}

CSimulatorProcess::~CSimulatorProcess()
{
    if (!m_process)
        return;
    TerminateProcess(Process(m_process), 9);  // fails harmlessly once it has ended
    WaitForSingleObject(Process(m_process), 10000);
    CloseHandle(Process(m_process));
}

bool CSimulatorProcess::Start(const std::vector<std::string>& args, const std::string& outputPath)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program = path;
    program = program.substr(0, program.find_last_of("\\/") + 1) + "vorlsim.exe";
    std::string commandLine = "\"" + program + "\"";
    for (const std::string& arg : args)
        commandLine += " \"" + arg + "\"";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE)
        return false;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(output);
    if (started)
        CloseHandle(process.hThread);
    m_process = reinterpret_cast<intptr_t>(process.hProcess);
    return started;
}

bool CSimulatorProcess::WaitForExit(int timeoutMs, int& exitCode)
{
    DWORD code = 0;
    const bool ended = WaitForSingleObject(Process(m_process), static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(Process(m_process), &code);
    if (ended)
        exitCode = static_cast<int>(code);
    return ended;
}

bool CSimulatorProcess::IsRunning()
{
    return m_process && WaitForSingleObject(Process(m_process), 0) == WAIT_TIMEOUT;
}
