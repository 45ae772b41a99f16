#include "tools/vorlsim/launcher/SimulatorProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

CSimulatorProcess::~CSimulatorProcess()
{
    if (IsRunning())
        kill(static_cast<pid_t>(m_process), SIGKILL);
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
    pid_t pid = 0;
    const int result = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    m_process = result == 0 ? pid : 0;
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
    exitCode = WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1;
    return m_process > 0;
}

bool CSimulatorProcess::IsRunning()
{
    return m_process > 0 && m_status == -1 &&
           waitpid(static_cast<pid_t>(m_process), &m_status, WNOHANG) != m_process;
}
