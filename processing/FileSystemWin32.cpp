#include "processing/FileSystem.h"

#include <windows.h>
#include <io.h>

namespace FileSystem
{
bool Exists(const std::string& path)
{
    return _access(path.c_str(), 0) == 0;
}

bool CreateDir(const std::string& path)
{
    if (!CreateDirectoryA(path.c_str(), nullptr))
        return false;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return true;
}

std::string CurrentDirectory()
{
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    return length < sizeof buffer ? std::string(buffer, length) : std::string();
}

std::string ModuleFileName()
{
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::string(buffer, length);
}

// A line that does not fit on a full disk must not stay behind in part:
// the line is kept and written again whole, so a cut one is taken back.
// A line counts as written only once it is on the disk itself, not in the
// system's cache, which a power cut empties.
bool AppendToFile(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER end{};
    DWORD written = 0;
    const bool atEnd = SetFilePointerEx(file, LARGE_INTEGER{}, &end, FILE_END);
    const bool wrote = atEnd &&
                       WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                       written == bytes.size() && FlushFileBuffers(file);
    if (!wrote && atEnd && SetFilePointerEx(file, end, nullptr, FILE_BEGIN))
        SetEndOfFile(file);
    const BOOL closed = CloseHandle(file);
    return wrote && closed;
}

bool ReplaceContents(const std::string& path, const std::string& bytes)
{
    const std::string temporary = path + ".new";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    const BOOL flushed = FlushFileBuffers(file);
    const BOOL closed = CloseHandle(file);
    if (wrote && flushed && closed && written == bytes.size() &&
        MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}

bool RemoveFile(const std::string& path)
{
    return DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::string HostPath(const std::string& path)
{
    return path;
}
}
