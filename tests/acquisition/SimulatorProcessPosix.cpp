#include "tests/acquisition/SimulatorProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

struct CSimulatorProcess::Native
{
    pid_t pid = -1;
    int status = -1;  // -1 until the process has been reaped
};

CSimulatorProcess::CSimulatorProcess() : m_native(new Native)
{
}

CSimulatorProcess::~CSimulatorProcess()
{
    if (IsRunning())
        kill(m_native->pid, SIGKILL);
    int ignored;
    WaitForExit(10000, ignored);
}

bool CSimulatorProcess::Start(const std::vector<std::string>& args, const std::string& outputPath)
{
    const std::string program =
        (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "vorlsim").string();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int result = posix_spawn(&m_native->pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return result == 0;
}

bool CSimulatorProcess::WaitForExit(int timeoutMs, int& exitCode)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (IsRunning())
    {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    exitCode = WIFEXITED(m_native->status) ? WEXITSTATUS(m_native->status) : -1;
    return m_native->pid > 0;
}

bool CSimulatorProcess::IsRunning()
{
    return m_native->pid > 0 && m_native->status == -1 &&
           waitpid(m_native->pid, &m_native->status, WNOHANG) != m_native->pid;
}
