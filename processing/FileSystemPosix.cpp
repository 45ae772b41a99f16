#include "processing/FileSystem.h"

#include <algorithm>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileSystem
{
std::string HostPath(const std::string& path)
{
    std::string host = path;
    std::replace(host.begin(), host.end(), '\\', '/');
    return host;
}

bool Exists(const std::string& path)
{
    return access(HostPath(path).c_str(), F_OK) == 0;
}

bool CreateDir(const std::string& path)
{
    return mkdir(HostPath(path).c_str(), 0777) == 0;
}

std::string CurrentDirectory()
{
    char buffer[PATH_MAX] = {};
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

std::string ModuleFileName()
{
    char buffer[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

bool AppendToFile(const std::string& path, const std::string& bytes)
{
    const int fd = open(HostPath(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    size_t done = 0;
    while (done < bytes.size())
    {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    const bool closed = close(fd) == 0;
    return closed && done == bytes.size();
}
}
