#include "tests/acquisition/SimulatorProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

namespace
{
// The controlling side of a pseudo-terminal; vorlsim writes to its other end.
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
    ~CPseudoTerminal()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    const std::string& Device() const { return m_device; }

    // Reads until `size` bytes came or nothing more came for two seconds.
    std::string Read(size_t size)
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
}

// A file without a count plays over and over; a rate near 0 sends the first
// frame and then waits, however far beyond the clock's range the next is due.
TEST(VorlsimSerial, LoopsAFileWithoutCountAndPacesEvenANearZeroRate)
{
    CTempDir dir;
    std::ofstream(dir.Join("lines.txt")) << "A\nB\n";
    CPseudoTerminal looping, paced;
    const auto play = [&](CSimulatorProcess& vorlsim, CPseudoTerminal& terminal,
                          std::vector<std::string> options) {
        options.insert(options.begin(), {"serial", "--device", terminal.Device(), "--file",
                                         dir.Join("lines.txt"), "--terminator", "lf"});
        return vorlsim.Start(options, dir.Join("out.txt"));
    };
    CSimulatorProcess loop, slow;
    ASSERT_TRUE(play(loop, looping, {"--count", "0"}));
    ASSERT_TRUE(play(slow, paced, {"--count", "3", "--rate", "1e-20"}));
    EXPECT_EQ("A\nB\nA\nB\nA\n", looping.Read(10).substr(0, 10));
    EXPECT_EQ("A\n", paced.Read(3));
}
