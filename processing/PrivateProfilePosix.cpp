#include "processing/FileSystem.h"
#include "processing/IniDocument.h"
#include "processing/PrivateProfile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
enum class ReadResult
{
    Read,
    Missing,
    Failed
};

ReadResult ReadWholeFile(const std::string& hostPath, std::string& bytes)
{
    const int fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    char chunk[65536];
    ssize_t n = 0;
    while ((n = read(fd, chunk, sizeof chunk)) > 0)
        bytes.append(chunk, static_cast<size_t>(n));
    close(fd);
    return n == 0 ? ReadResult::Read : ReadResult::Failed;
}

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

bool CreateNewFile(const std::string& hostPath, const std::string& bytes)
{
    const int fd = open(hostPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, bytes);
    const bool closed = close(fd) == 0;
    if (written && closed)
        return true;
    unlink(hostPath.c_str());
    return false;
}

// The new content goes to a temporary file beside the old one, which it
// then replaces in one step: a full disk or a crash half way leaves the old
// settings whole instead of a cut file.  A read-only file stays as it is,
// as on Windows.
bool ReplaceFile(const std::string& hostPath, const std::string& bytes)
{
    struct stat old = {};
    if (access(hostPath.c_str(), W_OK) != 0 || stat(hostPath.c_str(), &old) != 0)
        return false;
    std::string temporary = hostPath + ".XXXXXX";
    const int fd = mkstemp(&temporary[0]);
    if (fd < 0)
        return false;
    const bool written = fchmod(fd, old.st_mode & 07777) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (written && closed && rename(temporary.c_str(), hostPath.c_str()) == 0)
        return true;
    unlink(temporary.c_str());
    return false;
}
}

namespace PrivateProfile
{
std::string GetString(const std::string& section, const std::string& key,
                      const std::string& defaultValue, const std::string& path,
                      unsigned bufferSize)
{
    // An unreadable file reads like a missing one: every key takes its default.
    std::string bytes;
    if (ReadWholeFile(FileSystem::HostPath(path), bytes) != ReadResult::Read)
        bytes.clear();
    return CIniDocument(bytes).GetString(section, key, defaultValue, bufferSize);
}

bool WriteString(const std::string& section, const std::string& key,
                 const std::string& value, const std::string& path)
{
    const std::string hostPath = FileSystem::HostPath(path);
    std::string bytes;
    const ReadResult read = ReadWholeFile(hostPath, bytes);
    if (read == ReadResult::Failed)
        return false;
    CIniDocument document(bytes);
    if (!document.SetString(section, key, value))
        return true;
    if (read == ReadResult::Missing)
        return CreateNewFile(hostPath, document.Serialise());
    return ReplaceFile(hostPath, document.Serialise());
}
}
