#include "tools/vorlsim/FrameSource.h"

#include <cstdio>
#include <fstream>

namespace
{
struct Quantity
{
    const char* format;
    double low;
    double high;
};

// Value and unit are written without a space so that a space separator
// still splits the frame into the same fields.
const Quantity kQuantities[] = {
    {"%.3fbar", 1.5, 3.5},        {"%.4fmbar/s", 0.0, 0.08}, {"%.1fC", 18.0, 27.0},
    {"%.2fs", 1.0, 2.0},          {"%.2fs", 2.5, 4.0},       {"%.1fPa", -12.0, 40.0},
    {"%.3fsccm", 0.0, 1.2},       {"%.1fcm3", 8.0, 16.0},    {"%.2fs", 5.0, 9.0},
};
}

CFrameSource::CFrameSource(char separator, uint32_t seed)
    : m_separator(separator), m_random(seed)
{
}

bool CFrameSource::LoadFile(const std::string& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        error = "cannot read " + path;
        return false;
    }
    std::string line;
    while (std::getline(in, line))
    {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        m_lines.push_back(line);
    }
    if (m_lines.empty())
    {
        error = path + " has no lines";
        return false;
    }
    m_fromFile = true;
    return true;
}

std::string CFrameSource::Next()
{
    if (!m_fromFile)
        return Generate();
    if (m_nextLine == m_lines.size())
        m_nextLine = 0;
    return m_lines[m_nextLine++];
}

std::string CFrameSource::Generate()
{
    char text[64];
    std::snprintf(text, sizeof text, "SN%08llu", static_cast<unsigned long long>(++m_serial));
    std::string frame = text;
    std::snprintf(text, sizeof text, "P%02u", static_cast<unsigned>(m_random() % 16 + 1));
    frame += m_separator + std::string(text);
    const bool pass = m_random() % 10 != 0;
    frame += m_separator + std::string(pass ? "PASS" : "FAIL");
    const size_t measurements = 3 + m_random() % 7;
    for (size_t i = 0; i < measurements; ++i)
        frame += m_separator + Measurement(i);
    return frame;
}

std::string CFrameSource::Measurement(size_t index)
{
    const Quantity& quantity = kQuantities[index];
    std::uniform_real_distribution<double> value(quantity.low, quantity.high);
    char text[32];
    std::snprintf(text, sizeof text, quantity.format, value(m_random));
    return text;
}
