#pragma once
#include <memory>

// The bytes the TCP link has received and not yet cut into frames.  A
// chunk is stored only when it is strictly smaller than the free space, so
// the ring never holds more than kCapacity - 1 bytes and equal indices
// always mean empty.
class CByteRing
{
public:
    static constexpr int kCapacity = 2049;
    static constexpr int kMaxHeld = kCapacity - 1;

    CByteRing();
    virtual ~CByteRing();
    CByteRing(const CByteRing&) = delete;
    CByteRing& operator=(const CByteRing&) = delete;

    int Count() const;
    int FreeSpace() const { return kCapacity - Count(); }
    // Stores the chunk whole, or not at all when it does not fit.
    bool Append(const char* chunk, int length);
    // The byte `offset` places after the read index; false beyond Count().
    bool PeekAt(int offset, char& byte) const;
    // Offset of the first `wanted` byte held; false when none is held.
    bool Find(char wanted, int& offset) const;
    // Takes n bytes out, across the wrap if needed; false when fewer are held.
    bool Read(char* destination, int n);
    void Clear();

private:
    std::unique_ptr<char[]> m_storage;
    int m_read = 0;
    int m_write = 0;
};
