#include "tools/vorlsim/SerialDevice.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace
{
constexpr std::intptr_t kClosed = -1;

bool BaudConstant(int baud, speed_t& speed)
{
    static const std::pair<int, speed_t> rates[] = {
        {50, B50},         {75, B75},         {110, B110},       {134, B134},     {150, B150},
        {200, B200},       {300, B300},       {600, B600},       {1200, B1200},   {1800, B1800},
        {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200}, {38400, B38400},
        {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800},
        {921600, B921600}};
    for (const auto& rate : rates)
        if (rate.first == baud)
        {
            speed = rate.second;
            return true;
        }
    return false;
}

void ApplyFrameFormat(const CSimOptions& options, termios& settings)
{
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    settings.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    settings.c_cflag |= sizes[options.dataBits - 5] | CLOCAL;
    if (options.parity != 'N')
        settings.c_cflag |= PARENB;
    if (options.parity == 'O')
        settings.c_cflag |= PARODD;
    if (options.stopBits == 2)
        settings.c_cflag |= CSTOPB;
}
}

CSerialDevice::CSerialDevice() : m_handle(kClosed)
{
}

CSerialDevice::~CSerialDevice()
{
    if (m_handle == kClosed)
        return;
    tcdrain(static_cast<int>(m_handle));
    close(static_cast<int>(m_handle));
}

bool CSerialDevice::Open(const CSimOptions& options, std::string& error)
{
    speed_t speed;
    if (!BaudConstant(options.baud, speed))
    {
        error = "unsupported baud rate " + std::to_string(options.baud);
        return false;
    }
    const int fd = open(options.device.c_str(), O_WRONLY | O_NOCTTY);
    if (fd < 0)
    {
        error = "cannot open " + options.device + ": " + std::strerror(errno);
        return false;
    }
    m_handle = fd;
    termios settings{};
    if (tcgetattr(fd, &settings) != 0)
    {
        error = options.device + " is not a serial device";
        return false;
    }
    cfmakeraw(&settings);
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
    ApplyFrameFormat(options, settings);
    // A pseudo-terminal may refuse parity; the bytes still go out.
    tcsetattr(fd, TCSANOW, &settings);
    return true;
}

bool CSerialDevice::Write(const char* data, size_t size)
{
    while (size > 0)
    {
        const ssize_t written = write(static_cast<int>(m_handle), data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}
