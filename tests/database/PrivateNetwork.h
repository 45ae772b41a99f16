#pragma once
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <cstdlib>

// The calling thread, and the threads and processes it starts from now on,
// in a network namespace of their own with the loopback up, until the
// object goes.  Only root may make one.
class CPrivateNetwork
{
public:
    CPrivateNetwork() : m_home(open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC))
    {
        m_unshared = m_home >= 0 && geteuid() == 0 && unshare(CLONE_NEWNET) == 0;
    }
    ~CPrivateNetwork()
    {
        // A test thread left in here would run the next tests without a network.
        if (m_unshared && setns(m_home, CLONE_NEWNET) != 0)
            std::abort();
        if (m_home >= 0)
            close(m_home);
    }
    CPrivateNetwork(const CPrivateNetwork&) = delete;
    CPrivateNetwork& operator=(const CPrivateNetwork&) = delete;

    bool Entered() const { return m_unshared && SetLoopback(true); }
    // Down, a connection over it goes silent: no reset, no answer.
    bool SetLoopback(bool up) const
    {
        return std::system(up ? "ip link set lo up" : "ip link set lo down") == 0;
    }

private:
    int m_home;
    bool m_unshared = false;
};
