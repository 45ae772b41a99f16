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

// A read-only file stays as it is, as on Windows.
bool ReplaceWritableFile(const std::string& hostPath, const std::string& bytes)
{
    return access(hostPath.c_str(), W_OK) == 0 && FileSystem::ReplaceContents(hostPath, bytes);
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
        return FileSystem::ReplaceContents(hostPath, document.Serialise());
    return ReplaceWritableFile(hostPath, document.Serialise());
}
}
