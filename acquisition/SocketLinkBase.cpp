#include "acquisition/SocketLinkBase.h"

#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace
{
uint32_t ToHostOrder(uint32_t networkOrder)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&networkOrder);
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

uint32_t ToNetworkOrder(uint32_t hostOrder)
{
    uint32_t networkOrder;
    auto* bytes = reinterpret_cast<unsigned char*>(&networkOrder);
    bytes[0] = static_cast<unsigned char>(hostOrder >> 24);
    bytes[1] = static_cast<unsigned char>(hostOrder >> 16);
    bytes[2] = static_cast<unsigned char>(hostOrder >> 8);
    bytes[3] = static_cast<unsigned char>(hostOrder);
    return networkOrder;
}

uint16_t PortToNetworkOrder(uint16_t port)
{
    return static_cast<uint16_t>(ToNetworkOrder(port) >> 16);
}

uint16_t PortToHostOrder(uint16_t port)
{
    return static_cast<uint16_t>(ToHostOrder(uint32_t{port} << 16));
}
}

CSocketLinkBase::CSocketLinkBase() : m_socket(SocketApi::kInvalid)
{
}

CSocketLinkBase::~CSocketLinkBase()
{
    Close();
}

bool CSocketLinkBase::Connect(const char* host, const char* service, const std::atomic<bool>* cancel)
{
    if (IsOpen())
        return false;
    const SocketApi::Handle socket = SocketApi::OpenStream();
    if (socket == SocketApi::kInvalid)
        return false;
    // No bind to this host's first address: the system picks the local
    // address that reaches the instrument, also on a station with several
    // networks or a host name that does not resolve.
    SocketAddress remote;
    MakeAddress(remote, host, service, SocketApi::kInet, cancel);
    if (!ConnectSocket(socket, remote, cancel))
    {
        SocketApi::Close(socket);
        return false;
    }
    SocketApi::EnableKeepAlive(socket, m_keepAliveIdleMs, m_keepAliveIntervalMs);
    m_socket = socket;
    return true;
}

void CSocketLinkBase::SetKeepAlive(unsigned idleMs, unsigned intervalMs)
{
    m_keepAliveIdleMs = idleMs;
    m_keepAliveIntervalMs = intervalMs;
}

uint32_t CSocketLinkBase::ResolveHost(const char* host, const std::atomic<bool>* cancel)
{
    if (!cancel || !host || SocketApi::DottedToAddress(host) != SocketApi::kNoAddress)
        return ResolveHost(host);
    // The look-up cannot be cut short: it goes on alone and its answer is
    // dropped when nobody waits for it any more.
    struct Lookup
    {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        uint32_t address = SocketApi::kNoAddress;
    };
    const auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, name = std::string(host)] {
        const uint32_t address = ResolveHost(name.c_str());
        const std::lock_guard<std::mutex> lock(lookup->mutex);
        lookup->address = address;
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(lookup->mutex);
    while (!lookup->done.wait_for(lock, std::chrono::milliseconds(100), [&] { return lookup->finished; }))
    {
        if (*cancel)
            return SocketApi::kNoAddress;
    }
    return lookup->address;
}

bool CSocketLinkBase::ConnectSocket(SocketApi::Handle socket, const SocketAddress& remote,
                                    const std::atomic<bool>* cancel)
{
    // The wait is cut into slices so that a peer that never answers (a
    // switched-off instrument: the system gives up only after minutes)
    // keeps no one waiting who has asked to stop.
    int state = SocketApi::StartConnect(socket, remote);
    while (state == 0 && !(cancel && *cancel))
        state = SocketApi::WaitConnected(socket, 100);
    return state == 1 && !(cancel && *cancel);
}

void CSocketLinkBase::Close()
{
    const SocketApi::Handle socket = m_socket.exchange(SocketApi::kInvalid);
    if (socket != SocketApi::kInvalid)
        SocketApi::Close(socket);
}

bool CSocketLinkBase::GetPeerAddress(SocketAddress& address) const
{
    return IsOpen() && SocketApi::PeerName(m_socket, address);
}

int CSocketLinkBase::ReadChunk(char* buffer, int size, unsigned timeoutMs)
{
    if (!buffer || size < 1)
        return 0;
    // A wait that fails keeps failing: it would turn the receive loop into a
    // busy loop that nobody hears of.
    const int readable = SocketApi::WaitReadable(m_socket, timeoutMs);
    if (readable != 1)
        return readable;
    const int received = SocketApi::Receive(m_socket, buffer, size);
    return received > 0 ? received : -1;
}

uint32_t CSocketLinkBase::ResolveHost(const char* host)
{
    char localName[260];
    if (!host)
    {
        if (!GetLocalHostName(localName, sizeof localName))
            return SocketApi::kNoAddress;
        host = localName;
    }
    uint32_t address = SocketApi::DottedToAddress(host);
    if (address == SocketApi::kNoAddress && std::strcmp(host, "255.255.255.255") != 0 &&
        !SocketApi::LookupHost(host, address))
        return SocketApi::kNoAddress;
    return ToHostOrder(address);
}

uint16_t CSocketLinkBase::ResolveService(const char* service)
{
    if (!service)
        return 0;
    if (std::isdigit(static_cast<unsigned char>(service[0])))
        return static_cast<uint16_t>(std::atoi(service));
    uint16_t port = 0;
    return SocketApi::LookupService(service, port) ? PortToHostOrder(port) : 0;
}

bool CSocketLinkBase::GetLocalHostName(char* buffer, size_t size)
{
    if (!buffer || size == 0)
    {
        SocketApi::SetLastFailure(SocketApi::Failure::InvalidParameter);
        return false;
    }
    std::string name;
    if (!SocketApi::LocalHostName(name))
        return false;
    if (name.size() + 1 > size)
    {
        SocketApi::SetLastFailure(SocketApi::Failure::InsufficientBuffer);
        return false;
    }
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    return true;
}

bool CSocketLinkBase::MakeAddress(SocketAddress& address, const char* host, const char* service,
                                  uint16_t family, const std::atomic<bool>* cancel)
{
    address = SocketAddress();
    address.family = family;
    address.address = ToNetworkOrder(ResolveHost(host, cancel));
    address.port = PortToNetworkOrder(ResolveService(service));
    return address.address != 0 || address.port != 0;
}
