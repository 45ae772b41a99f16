#include "acquisition/ByteRing.h"

#include <algorithm>
#include <cstring>

CByteRing::CByteRing() : m_storage(new char[kCapacity]())
{
}

CByteRing::~CByteRing() = default;

int CByteRing::Count() const
{
    if (m_read <= m_write)
        return m_write - m_read;
    return kCapacity - m_read + m_write;
}

bool CByteRing::Append(const char* chunk, int length)
{
    if (!chunk || length < 0 || length >= FreeSpace())
        return false;
    const int first = std::min(length, kCapacity - m_write);
    std::memcpy(m_storage.get() + m_write, chunk, first);
    std::memcpy(m_storage.get(), chunk + first, length - first);
    m_write = (m_write + length) % kCapacity;
    return true;
}

bool CByteRing::PeekAt(int offset, char& byte) const
{
    if (offset < 0 || offset >= Count())
        return false;
    byte = m_storage[(m_read + offset) % kCapacity];
    return true;
}

bool CByteRing::Find(char wanted, int& offset) const
{
    // The held bytes lie in at most two runs: up to the end of the storage,
    // then from its start.
    const int count = Count();
    const int first = std::min(count, kCapacity - m_read);
    const char* start = m_storage.get() + m_read;
    if (const void* hit = std::memchr(start, wanted, static_cast<size_t>(first)))
    {
        offset = static_cast<int>(static_cast<const char*>(hit) - start);
        return true;
    }
    if (const void* hit = std::memchr(m_storage.get(), wanted, static_cast<size_t>(count - first)))
    {
        offset = first + static_cast<int>(static_cast<const char*>(hit) - m_storage.get());
        return true;
    }
    return false;
}

bool CByteRing::Read(char* destination, int n)
{
    if (!destination || n < 0 || n > Count())
        return false;
    const int first = std::min(n, kCapacity - m_read);
    std::memcpy(destination, m_storage.get() + m_read, first);
    std::memcpy(destination + first, m_storage.get(), n - first);
    m_read = (m_read + n) % kCapacity;
    return true;
}

void CByteRing::Clear()
{
    m_read = m_write = 0;
}
