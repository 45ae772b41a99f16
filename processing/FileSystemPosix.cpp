#include "processing/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size())
    {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The mode of the file replaced, or what a new file would get.
mode_t ModeFor(const std::string& hostPath)
{
    struct stat old = {};
    if (stat(hostPath.c_str(), &old) == 0)
        return old.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}
}

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
    // A line cut by a full disk is taken back: it is kept and written again
    // whole.  It counts as written once it is on the disk, not in the cache.
    const off_t end = lseek(fd, 0, SEEK_END);
    const bool written = WriteAll(fd, bytes) && fdatasync(fd) == 0;
    if (!written && end >= 0)
        (void)ftruncate(fd, end);
    const bool closed = close(fd) == 0;
    return closed && written;
}

bool ReplaceContents(const std::string& path, const std::string& bytes)
{
    const std::string host = HostPath(path);
    std::string temporary = host + ".XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0)
        return false;
    const bool written = fchmod(fd, ModeFor(host)) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (written && closed && rename(temporary.c_str(), host.c_str()) == 0)
        return true;
    unlink(temporary.c_str());
    return false;
}

bool RemoveFile(const std::string& path)
{
    const std::string host = HostPath(path);
    return unlink(host.c_str()) == 0 || errno == ENOENT;
}
}
