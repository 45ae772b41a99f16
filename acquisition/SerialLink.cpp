#include "acquisition/SerialLink.h"

#include <cstring>

namespace
{
constexpr char STX = 0x02;
constexpr char ETX = 0x03;
constexpr char LF = 0x0A;
constexpr char CR = 0x0D;
}

CSerialLink::CSerialLink()
{
    Reset();
}

void CSerialLink::Reset()
{
    std::memset(m_frame, 0, sizeof m_frame);
    m_count = 0;
    m_last = 0;
    m_inFrame = 0;
}

bool CSerialLink::AddChar(char c)
{
    if (c == LF && m_last == CR)
    {
        m_last = LF;
        return false;
    }
    if (c == STX)
    {
        m_last = STX;
        return false;
    }
    m_last = c;
    bool complete = false;
    if (!m_inFrame)
    {
        // Even a terminator is kept when it opens a frame; starting the frame
        // forgets the last byte, so a following LF is not swallowed.
        Reset();
        m_inFrame = 1;
    }
    else if (c == LF || c == CR || c == ETX)
    {
        m_inFrame = 0;
        complete = true;
    }
    if (!m_inFrame)
        return complete;
    if (m_count < MaxFrameLength)
    {
        m_frame[m_count++] = c;
        return complete;
    }
    // A full buffer ends the frame; the byte that found it full is dropped.
    m_inFrame = 0;
    return true;
}

bool CSerialLink::Poll(int& length)
{
    char c = 0;
    do
    {
        if (!Read(&c, 1))
            return false;
    } while (!AddChar(c));
    length = m_count;
    return true;
}
