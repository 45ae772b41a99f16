#pragma once
#include "acquisition/SerialPort.h"

// Assembles frames from the bytes of a serial port.  A frame ends at CR,
// LF or ETX; an STX is never stored; the LF of a CR LF pair is swallowed.
// Assembling a frame allocates nothing.
class CSerialLink : public CSerialPort
{
public:
    static constexpr int FrameBufferSize = 512;
    static constexpr int MaxFrameLength = FrameBufferSize - 1;

    CSerialLink();
    ~CSerialLink() override = default;

    void Reset();
    // One step of the frame state machine; true when a frame has just been completed.
    bool AddChar(char c);
    // Reads byte by byte until a frame completes (true, length = its size) or a
    // read fails or times out (false; the partial frame waits for the next call).
    bool Poll(int& length);
    // The current or last frame, always NUL-terminated.
    const char* FrameText() const { return m_frame; }

private:
    char m_frame[FrameBufferSize];
    int m_count = 0;
    char m_last = 0;
    int m_inFrame = 0;
};
