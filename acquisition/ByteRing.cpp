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
