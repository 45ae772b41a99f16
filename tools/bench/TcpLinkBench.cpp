// Frames per second from vorlsim through the TCP link to a counting sink.
// Not a test: tools/tcp-link-bench.sh runs it beside plain socket readers
// of the same stream.
//   tcp_link_bench [frames] [chunk]
#include "acquisition/SocketApi.h"
#include "acquisition/TcpClientLink.h"
#include "tools/vorlsim/launcher/SimulatorProcess.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace
{
class CFrameCounter : public CLinkSink
{
public:
    void OnFrames(std::vector<std::string>& frames, const SocketAddress&) override
    {
        for (const std::string& frame : frames)
            m_bytes.fetch_add(frame.size(), std::memory_order_relaxed);
        m_frames.fetch_add(frames.size(), std::memory_order_relaxed);
    }
    void OnLinkEvent(int, const std::string&) override { m_lost = true; }

    std::atomic<uint64_t> m_frames{0};
    std::atomic<uint64_t> m_bytes{0};
    std::atomic<bool> m_lost{false};
};
}

int main(int argc, char** argv)
{
    const std::string frames = argc > 1 ? argv[1] : "200000";
    const std::string chunk = argc > 2 ? argv[2] : "frame";
    const std::string readyFile = "tcp_link_bench.ready";
    std::remove(readyFile.c_str());
    SocketApi::Startup();
    CSimulatorProcess simulator;
    if (!simulator.Start({"tcp", "--port", "0", "--clients", "1", "--count", frames, "--rate", "0",
                          "--chunk", chunk, "--ready-file", readyFile},
                         "tcp_link_bench.out"))
        return 2;
    const int port = simulator.WaitForPort(readyFile);
    CFrameCounter counted;
    CTcpClientLink link(counted);
    const auto start = std::chrono::steady_clock::now();
    if (port == 0 || !link.Connect("127.0.0.1", std::to_string(port).c_str()) || !link.StartReceiving())
        return 2;
    while (!counted.m_lost && std::chrono::steady_clock::now() - start < std::chrono::minutes(2))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    link.Stop();
    std::printf("link chunk=%s: %llu frames, %llu text bytes in %.3f s = %.0f frames/s\n", chunk.c_str(),
                static_cast<unsigned long long>(counted.m_frames.load()),
                static_cast<unsigned long long>(counted.m_bytes.load()), seconds, counted.m_frames / seconds);
    std::remove(readyFile.c_str());
    std::remove("tcp_link_bench.out");
    SocketApi::Cleanup();
    return counted.m_frames == std::strtoull(frames.c_str(), nullptr, 10) ? 0 : 1;
}
