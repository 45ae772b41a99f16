// The native build's serial device: the port's device name ("COM3", or
// "\\.\COM12") names a terminal, or a link to one, in the working directory,
// the way a Wine prefix maps COM ports to terminals.  Reads keep the Windows
// build's timeouts: 5 ms between bytes, 60 ms + 1 ms per byte in total.
#include "acquisition/SerialPort.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace
{
speed_t SpeedOf(uint32_t baud)
{
    switch (baud)
    {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
    }
}

void ApplyLineSettings(termios& tio, const SerialPortConfig& record)
{
    cfmakeraw(&tio);
    const speed_t speed = SpeedOf(record.baudRate);
    if (speed != B0)
    {
        cfsetispeed(&tio, speed);
        cfsetospeed(&tio, speed);
    }
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= (record.dataBits == 7 ? CS7 : CS8) | CREAD | CLOCAL;
    if (record.parity != 0)
        tio.c_cflag |= PARENB | (record.parity == 1 ? PARODD : 0);
    if (record.stopBits != 0)
        tio.c_cflag |= CSTOPB;
    if (record.handshake == 1)
        tio.c_cflag |= CRTSCTS;
    if (record.handshake == 2)
        tio.c_iflag |= IXON | IXOFF;
}

// "\\.\COM10" names the link "COM10" as "COM10" does.
std::string TerminalPath(const std::string& deviceName)
{
    const std::string namespacePrefix = "\\\\.\\";
    return deviceName.compare(0, namespacePrefix.size(), namespacePrefix) == 0
               ? deviceName.substr(namespacePrefix.size())
               : deviceName;
}

// Waits for input at most timeoutMs: 1 readable, 0 timed out, -1 the
// device hung up or failed.
int WaitReadable(int fd, int timeoutMs)
{
    pollfd entry{fd, POLLIN, 0};
    int ready;
    do
        ready = ::poll(&entry, 1, timeoutMs);
    while (ready < 0 && errno == EINTR);
    if (ready == 0)
        return 0;
    return ready > 0 && (entry.revents & POLLIN) ? 1 : -1;
}
}

CSerialPort::DeviceHandle CSerialPort::OpenDevice(const std::string& deviceName,
                                                  const SerialPortConfig& record,
                                                  std::string& errorText)
{
    const int fd = ::open(TerminalPath(deviceName).c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
    {
        errorText = std::string(std::strerror(errno)) + "\r\n";
        return NoDevice;
    }
    termios tio{};
    if (tcgetattr(fd, &tio) == 0)
    {
        ApplyLineSettings(tio, record);
        tcsetattr(fd, TCSANOW, &tio);
    }
    return fd;
}

CSerialPort::ReadResult CSerialPort::ReadDevice(DeviceHandle device, void* buffer, uint16_t count)
{
    using Clock = std::chrono::steady_clock;
    const int fd = static_cast<int>(device);
    const auto deadline = Clock::now() + std::chrono::milliseconds(60 + count);
    auto* bytes = static_cast<unsigned char*>(buffer);
    int received = 0;
    while (received < count)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        const int wait = received == 0 ? static_cast<int>(left.count())
                                       : static_cast<int>(std::min<long long>(left.count(), 5));
        const int readable = wait <= 0 ? 0 : WaitReadable(fd, wait);
        if (readable <= 0)
            return readable < 0 ? ReadResult::Failed : ReadResult::TimedOut;
        const ssize_t got = ::read(fd, bytes + received, count - received);
        if (got <= 0)
            return ReadResult::Failed;
        received += static_cast<int>(got);
    }
    return ReadResult::Done;
}

void CSerialPort::CloseDevice(DeviceHandle device)
{
    ::close(static_cast<int>(device));
}

bool CSerialPort::DeviceMissing(const std::string& deviceName)
{
    // A link to a terminal that has gone leads nowhere.
    return ::access(TerminalPath(deviceName).c_str(), F_OK) != 0;
}

void CSerialPort::ReportError(const std::string& text, bool)
{
    std::cerr << text << '\n';
}
