#pragma once
#include "acquisition/ByteRing.h"

#include <functional>

// Cuts the frames held in a ring at their line ends.  An LF anywhere in the
// held bytes wins over an earlier CR; a CR ends a frame only when no LF is
// held.  The text of a frame ends at its first NUL, loses every trailing CR
// and LF, and is skipped when that leaves it empty.
class CFrameExtractor
{
public:
    using FrameHandler = std::function<void(const char* text, int length)>;

    // Hands every complete frame to `onFrame`.  A ring left full without
    // any line end could never yield a frame again: it is emptied, and the
    // rest of that over-long line, up to its line end, is dropped too.
    void ExtractFrames(CByteRing& ring, const FrameHandler& onFrame);
    // Forgets an over-long line being dropped (a new connection starts).
    void Reset() { m_droppingOverlongLine = false; }

private:
    static bool FindTerminator(const CByteRing& ring, int& offset);
    int TakeFrame(CByteRing& ring, int length);

    char m_buffer[CByteRing::kCapacity + 1] = {};
    bool m_droppingOverlongLine = false;
};
