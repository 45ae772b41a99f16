#pragma once
#include <string>

// The few file-system calls the processing code makes, behind one seam:
// the Windows build calls the Win32 API and the C runtime, the native build
// POSIX.  Paths are written with the system's backslashes ("RESULT\"); the
// native build reads a backslash as a directory separator, so the same
// settings mean the same folders on both builds.
namespace FileSystem
{
// True when a file or directory of that name exists (_access mode 0).
bool Exists(const std::string& path);

// Creates one directory; on success its attributes become "normal".
// False when it could not be created (it exists, no rights, no parent).
bool CreateDir(const std::string& path);

// The process's working directory as the system spells it (Windows:
// "C:\work"; native: "/tmp/work").
std::string CurrentDirectory();

// Full path of the running executable.
std::string ModuleFileName();

// Appends the bytes at the end of the file, creating it when missing.
// Other programs may hold the file open for reading or writing meanwhile.
// False when the file could not be opened or not every byte reached the
// disk (a cut line is taken back).
bool AppendToFile(const std::string& path, const std::string& bytes);

// Writes the bytes to a temporary file beside the path and then puts it in
// the path's place in one step, so a crash or a full disk leaves either the
// old file or the new one, never a cut one.  False when the file is as it
// was before.
bool ReplaceContents(const std::string& path, const std::string& bytes);

// Every byte of the file; false when it cannot be read (or is missing).
bool ReadContents(const std::string& path, std::string& bytes);

// Deletes the file; true when no file of that name is left.
bool RemoveFile(const std::string& path);

// The host's spelling of a system path (backslashes become '/' natively).
std::string HostPath(const std::string& path);
}
