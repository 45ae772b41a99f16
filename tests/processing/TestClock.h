#pragma once
#include "processing/FileSystem.h"
#include "processing/LocalTime.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A local time that stands still until the test moves it.
class CTestClock
{
public:
    CTestClock() { Set(2026, 12, 5, 17, 56, 9); }
    void Set(int year, int month, int day, int hour, int minute, int second)
    {
        m_now = std::tm{};
        m_now.tm_year = year - 1900;
        m_now.tm_mon = month - 1;
        m_now.tm_mday = day;
        m_now.tm_hour = hour;
        m_now.tm_min = minute;
        m_now.tm_sec = second;
    }
    LocalTimeSource Source() const { return [this] { return m_now; }; }

private:
    std::tm m_now{};
};

// Every byte of a file named the system's way ("RESULT\2026-12-05.TXT").
inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(FileSystem::HostPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A plain file where a results folder should be: the folder can then be
// neither created nor written into until the file goes.
inline void BlockFolder(bool blocked, const std::string& name = "RESULT")
{
    std::filesystem::remove_all(FileSystem::HostPath(name));
    if (blocked)
        std::ofstream(FileSystem::HostPath(name)) << "in the way";
}
