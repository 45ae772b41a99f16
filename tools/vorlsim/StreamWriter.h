#pragma once
#include "tools/vorlsim/ByteSink.h"
#include "tools/vorlsim/FrameSource.h"
#include "tools/vorlsim/SimOptions.h"

#include <cstdint>
#include <cstdio>
#include <deque>
#include <random>
#include <string>
#include <utility>

// Turns frames into the byte stream of one connection: adds STX and the
// terminator, paces the frames, cuts the stream into writes as asked and
// echoes each frame once all its bytes have been written.
class CStreamWriter
{
public:
    CStreamWriter(const CSimOptions& options, CFrameSource& source, std::FILE* echo);

    // Sends the configured number of frames.  False when the sink failed
    // (the bytes of that connection not yet written are dropped).
    bool Send(CByteSink& sink);

private:
    std::string Encode(const std::string& frame) const;
    bool WriteReady(CByteSink& sink, bool flushAll);
    size_t NextChunkSize();
    void EchoWritten();

    const CSimOptions& m_options;
    CFrameSource& m_source;
    std::FILE* m_echo;
    std::mt19937 m_chunkRandom;
    std::string m_pending;
    size_t m_chunk = 0;          // size of the next write, 0 until drawn
    uint64_t m_produced = 0;
    uint64_t m_written = 0;
    std::deque<std::pair<uint64_t, std::string>> m_unechoed;  // end offset, frame
};
