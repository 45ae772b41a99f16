#pragma once
#include "acquisition/SerialLink.h"

#include <string>
#include <utility>
#include <vector>

// A serial link whose error reports are kept for the test instead of
// being shown to a user.
class CSerialTestLink : public CSerialLink
{
public:
    using Reports = std::vector<std::pair<std::string, bool>>;  // text, stop icon
    Reports m_reports;

protected:
    void ReportError(const std::string& text, bool stopIcon) override
    {
        m_reports.push_back({text, stopIcon});
    }
};

// Polls until `wanted` frames arrived or `idlePolls` polls in a row found
// no frame (each such poll waits about 61 ms).
inline std::vector<std::string> PollFrames(CSerialLink& link, size_t wanted, int idlePolls)
{
    std::vector<std::string> frames;
    int idle = 0;
    while (frames.size() < wanted && idle < idlePolls)
    {
        int length = 0;
        if (link.Poll(length))
        {
            frames.emplace_back(link.FrameText(), static_cast<size_t>(length));
            idle = 0;
        }
        else
            ++idle;
    }
    return frames;
}
