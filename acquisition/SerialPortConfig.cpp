#include "acquisition/SerialPortConfig.h"

#include <cstring>
#include <string>

namespace SerialPortRecord
{
SerialPortConfig Default(int index)
{
    SerialPortConfig record{};
    const std::string name = "COM" + std::to_string(index + 1);
    name.copy(record.portName, sizeof record.portName - 1);
    record.baudRate = 9600;
    record.dataBits = 8;
    record.handshake = 0;
    record.stopBits = 0;
    record.parity = 2;
    return record;
}

void Encode(const SerialPortConfig& record, unsigned char* bytes)
{
    std::memcpy(bytes, record.portName, sizeof record.portName);
    for (int i = 0; i < 4; ++i)
        bytes[6 + i] = static_cast<unsigned char>(record.baudRate >> (8 * i));
    bytes[10] = record.dataBits;
    bytes[11] = record.handshake;
    bytes[12] = record.stopBits;
    bytes[13] = record.parity;
}

SerialPortConfig Decode(const unsigned char* bytes)
{
    SerialPortConfig record{};
    std::memcpy(record.portName, bytes, sizeof record.portName);
    record.portName[sizeof record.portName - 1] = '\0';
    uint32_t baud = 0;
    for (int i = 3; i >= 0; --i)
        baud = (baud << 8) | bytes[6 + i];
    record.baudRate = baud;
    record.dataBits = bytes[10];
    record.handshake = bytes[11];
    record.stopBits = bytes[12];
    record.parity = bytes[13];
    return record;
}
}
