#pragma once
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <string>

// The controlling side of a raw pseudo-terminal; the code under test opens
// the other end by its device name.
class CPseudoTerminal
{
public:
    CPseudoTerminal() : m_fd(posix_openpt(O_RDWR | O_NOCTTY))
    {
        if (m_fd >= 0 && grantpt(m_fd) == 0 && unlockpt(m_fd) == 0)
            m_device = ptsname(m_fd);
        termios settings{};
        tcgetattr(m_fd, &settings);
        cfmakeraw(&settings);
        tcsetattr(m_fd, TCSANOW, &settings);
    }
    ~CPseudoTerminal() { close(m_fd); }
    CPseudoTerminal(const CPseudoTerminal&) = delete;
    CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

    const std::string& Device() const { return m_device; }

    bool Write(const std::string& bytes) const
    {
        return write(m_fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

    // True once no one holds the other end open.
    bool OtherEndClosed() const
    {
        pollfd entry{m_fd, POLLIN, 0};
        return poll(&entry, 1, 0) == 1 && (entry.revents & POLLHUP) != 0;
    }

    // Reads until `size` bytes came or nothing more came for two seconds.
    std::string Read(size_t size) const
    {
        std::string bytes;
        char buffer[4096];
        pollfd entry{m_fd, POLLIN, 0};
        while (bytes.size() < size && poll(&entry, 1, 2000) > 0)
        {
            const ssize_t got = read(m_fd, buffer, sizeof buffer);
            if (got <= 0)
                break;
            bytes.append(buffer, static_cast<size_t>(got));
        }
        return bytes;
    }

private:
    int m_fd;
    std::string m_device;
};
