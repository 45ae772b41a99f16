#include "acquisition/FrameExtractor.h"

#include <cstring>

void CFrameExtractor::ExtractFrames(CByteRing& ring, const FrameHandler& onFrame)
{
    int terminator = 0;
    while (FindTerminator(ring, terminator))
    {
        const int length = TakeFrame(ring, terminator + 1);
        if (m_droppingOverlongLine)
            m_droppingOverlongLine = false;
        else if (length > 0)
            onFrame(m_buffer, length);
    }
    if (ring.Count() == CByteRing::kMaxHeld)
    {
        ring.Clear();
        m_droppingOverlongLine = true;
    }
}

bool CFrameExtractor::FindTerminator(const CByteRing& ring, int& offset)
{
    return ring.Find('\n', offset) || ring.Find('\r', offset);
}

// Moves `length` bytes into the buffer and returns the length of the text:
// up to the first NUL, without trailing CR and LF.
int CFrameExtractor::TakeFrame(CByteRing& ring, int length)
{
    ring.Read(m_buffer, length);
    m_buffer[length] = '\0';
    int text = static_cast<int>(std::strlen(m_buffer));
    while (text > 0 && (m_buffer[text - 1] == '\r' || m_buffer[text - 1] == '\n'))
        m_buffer[--text] = '\0';
    return text;
}
