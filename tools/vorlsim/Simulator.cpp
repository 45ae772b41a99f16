#include "tools/vorlsim/Simulator.h"

#include "tools/vorlsim/SerialDevice.h"
#include "tools/vorlsim/StreamWriter.h"
#include "tools/vorlsim/TcpServer.h"

#include <cstdio>
#include <fstream>

CSimulator::CSimulator(const CSimOptions& options)
    : m_options(options), m_source(options.separator, options.seed)
{
}

int CSimulator::Run()
{
    std::string error;
    if (!m_options.file.empty() && !m_source.LoadFile(m_options.file, error))
        return Fail(error, 2);
    return m_options.mode == CSimOptions::Mode::Tcp ? ServeTcp() : WriteSerial();
}

int CSimulator::ServeTcp()
{
    CTcpServer server;
    std::string error;
    if (!server.Listen(m_options.host, m_options.port, error))
        return Fail(error, 2);
    if (!WriteReadyFile(server.Port()))
        return Fail("cannot write " + m_options.readyFile, 2);
    CStreamWriter writer(m_options, m_source, m_options.echo ? stdout : nullptr);
    for (uint64_t served = 0; m_options.clients == 0 || served < m_options.clients; ++served)
    {
        if (!server.Accept())
            return Fail("accepting a client failed", 1);
        if (!writer.Send(server))
            std::fprintf(stderr, "vorlsim: the client closed the connection early\n");
        server.CloseClient();
    }
    return 0;
}

int CSimulator::WriteSerial()
{
    CSerialDevice device;
    std::string error;
    if (!device.Open(m_options, error))
        return Fail(error, 2);
    if (!WriteReadyFile(0))
        return Fail("cannot write " + m_options.readyFile, 2);
    CStreamWriter writer(m_options, m_source, m_options.echo ? stdout : nullptr);
    if (!writer.Send(device))
        return Fail("writing to " + m_options.device + " failed", 1);
    return 0;
}

// Written whole under another name first so that a reader polling for the
// file never sees half a line.
bool CSimulator::WriteReadyFile(int port)
{
    if (m_options.readyFile.empty())
        return true;
    const std::string partial = m_options.readyFile + ".part";
    {
        std::ofstream out(partial, std::ios::trunc);
        out << port << "\n";
        if (!out.flush())
            return false;
    }
    std::remove(m_options.readyFile.c_str());
    return std::rename(partial.c_str(), m_options.readyFile.c_str()) == 0;
}

int CSimulator::Fail(const std::string& message, int code)
{
    std::fprintf(stderr, "vorlsim: %s\n", message.c_str());
    return code;
}
