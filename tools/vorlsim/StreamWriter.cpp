#include "tools/vorlsim/StreamWriter.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace
{
using Clock = std::chrono::steady_clock;

// Sleeps in slices of at most an hour: a frame due centuries ahead (a rate
// near 0) lies beyond what the clock's time points can hold.
void WaitUntil(Clock::time_point start, double seconds)
{
    constexpr double kSlice = 3600;
    for (;;)
    {
        const double left = seconds - std::chrono::duration<double>(Clock::now() - start).count();
        if (left <= 0)
            return;
        std::this_thread::sleep_for(std::chrono::duration<double>(std::min(left, kSlice)));
    }
}
}

CStreamWriter::CStreamWriter(const CSimOptions& options, CFrameSource& source, std::FILE* echo)
    : m_options(options), m_source(source), m_echo(echo), m_chunkRandom(options.seed + 1)
{
}


bool CStreamWriter::Send(CByteSink& sink)
{
    const auto start = Clock::now();
    const bool paced = m_options.rate > 0;
    m_pending.clear();
    m_unechoed.clear();
    m_produced = m_written = 0;
    for (uint64_t i = 0; m_options.count == 0 || i < m_options.count; ++i)
    {
        const std::string frame = m_source.Next();
        if (paced)
            WaitUntil(start, i / m_options.rate);
        const std::string bytes = Encode(frame);
        m_pending += bytes;
        m_produced += bytes.size();
        if (m_echo)
            m_unechoed.emplace_back(m_produced, frame);
        // A paced frame goes out whole at its time; unpaced, the tail of
        // one frame may share a write with the next.
        if (!WriteReady(sink, paced))
            return false;
    }
    const bool ok = WriteReady(sink, true);
    if (m_echo)
        std::fflush(m_echo);
    return ok;
}

std::string CStreamWriter::Encode(const std::string& frame) const
{
    return (m_options.stx ? "\x02" : "") + frame + m_options.terminator;
}

bool CStreamWriter::WriteReady(CByteSink& sink, bool flushAll)
{
    while (!m_pending.empty())
    {
        if (m_chunk == 0)
            m_chunk = NextChunkSize();
        size_t size = m_chunk;
        if (m_pending.size() < size)
        {
            if (!flushAll)
                return true;
            size = m_pending.size();
        }
        if (!sink.Write(m_pending.data(), size))
            return false;
        m_pending.erase(0, size);
        m_written += size;
        m_chunk = 0;
        EchoWritten();
    }
    return true;
}

size_t CStreamWriter::NextChunkSize()
{
    switch (m_options.chunking)
    {
    case CSimOptions::Chunking::Byte:
        return 1;
    case CSimOptions::Chunking::Fixed:
        return m_options.chunkSize;
    case CSimOptions::Chunking::Random:
    {
        // Mostly small writes, now and then one larger than the receiver's ring.
        const unsigned bits = m_chunkRandom() % 13;
        return 1 + m_chunkRandom() % (size_t{1} << bits);
    }
    case CSimOptions::Chunking::Frame:
        break;
    }
    return m_pending.size();
}

void CStreamWriter::EchoWritten()
{
    while (!m_unechoed.empty() && m_unechoed.front().first <= m_written)
    {
        const std::string& frame = m_unechoed.front().second;
        std::fwrite(frame.data(), 1, frame.size(), m_echo);
        std::fputc('\n', m_echo);
        m_unechoed.pop_front();
    }
    if (m_echo && m_options.rate > 0)
        std::fflush(m_echo);
}
