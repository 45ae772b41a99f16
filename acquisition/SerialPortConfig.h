#pragma once
#include <cstdint>

// The line settings of one COM port.  The record is also the on-disk format
// of "Serial.cfg" (40 records back to back), so its layout never changes:
// 14 bytes, packed, multi-byte fields little-endian.
#pragma pack(push, 1)
struct SerialPortConfig
{
    char portName[6];    // "COM1" to "COM40", NUL-padded; at most 5 characters
    uint32_t baudRate;   // bits per second
    uint8_t dataBits;    // 8 or 7
    uint8_t handshake;   // 0 none, 1 hardware, 2 software; anything else is invalid
    uint8_t stopBits;    // 0 one, 1 one and a half, 2 two (DCB codes)
    uint8_t parity;      // 0 none, 1 odd, 2 even (DCB codes)
};
#pragma pack(pop)

static_assert(sizeof(SerialPortConfig) == 14, "Serial.cfg records are 14 bytes");

namespace SerialPortRecord
{
constexpr int Size = sizeof(SerialPortConfig);

// COMn (n = index + 1), 9600 baud, 8 data bits, no handshake, one stop bit,
// even parity: the instruments' factory setting is 8E1, not 8N1.
SerialPortConfig Default(int index);

// The file's byte order, whatever the host's.
void Encode(const SerialPortConfig& record, unsigned char* bytes);
// The port name always comes back NUL-terminated, even from a damaged file.
SerialPortConfig Decode(const unsigned char* bytes);
}
