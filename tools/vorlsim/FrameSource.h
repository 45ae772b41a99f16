#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

// The texts of the frames vorlsim sends, without STX or terminator: either
// results the way a leak or pressure tester writes them (serial number,
// program, verdict, then measured values with units, 6 to 12 fields), or
// the lines of a file.
class CFrameSource
{
public:
    CFrameSource(char separator, uint32_t seed);

    // Sends the file's lines instead of generated results, starting over
    // after the last one.  False when unreadable or empty.
    bool LoadFile(const std::string& path, std::string& error);

    std::string Next();

private:
    std::string Generate();
    std::string Measurement(size_t index);

    char m_separator;
    std::mt19937 m_random;
    uint64_t m_serial = 0;
    std::vector<std::string> m_lines;
    size_t m_nextLine = 0;
    bool m_fromFile = false;
};
