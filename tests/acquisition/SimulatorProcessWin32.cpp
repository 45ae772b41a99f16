#include "tests/acquisition/SimulatorProcess.h"

#include <windows.h>

struct CSimulatorProcess::Native
{
    PROCESS_INFORMATION process{};
};

namespace
{
std::string ProgramBesideThisOne()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program = path;
    return program.substr(0, program.find_last_of("\\/") + 1) + "vorlsim.exe";
}
}

CSimulatorProcess::CSimulatorProcess() : m_native(new Native)
{
}

CSimulatorProcess::~CSimulatorProcess()
{
    if (!m_native->process.hProcess)
        return;
    if (IsRunning())
        TerminateProcess(m_native->process.hProcess, 9);
    WaitForSingleObject(m_native->process.hProcess, 10000);
    CloseHandle(m_native->process.hProcess);
    CloseHandle(m_native->process.hThread);
}

bool CSimulatorProcess::Start(const std::vector<std::string>& args, const std::string& outputPath)
{
    const std::string program = ProgramBesideThisOne();
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
    const BOOL started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &m_native->process);
    CloseHandle(output);
    return started != FALSE;
}

bool CSimulatorProcess::WaitForExit(int timeoutMs, int& exitCode)
{
    if (WaitForSingleObject(m_native->process.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    GetExitCodeProcess(m_native->process.hProcess, &code);
    exitCode = static_cast<int>(code);
    return true;
}

bool CSimulatorProcess::IsRunning()
{
    return m_native->process.hProcess &&
           WaitForSingleObject(m_native->process.hProcess, 0) == WAIT_TIMEOUT;
}
