#include "acquisition/SerialReceiver.h"

#include "acquisition/SerialLink.h"

CSerialReceiver::CSerialReceiver(CSerialLink& link, ISerialSink& sink) : m_link(link), m_sink(sink)
{
}

CSerialReceiver::~CSerialReceiver()
{
    Stop();
}

bool CSerialReceiver::Start(bool reopen)
{
    if (IsRunning())
        return false;
    m_reopen = reopen;
    return m_thread.Start([this] { Run(); });
}

void CSerialReceiver::Stop()
{
    m_thread.Stop();
}

void CSerialReceiver::Run()
{
    while (!m_thread.Stopping())
    {
        if (!m_link.IsOpen())
        {
            WaitWhileClosed();
            ReopenPort();
            continue;
        }
        int length = 0;
        if (m_link.Poll(length))
            m_sink.OnSerialFrame(std::string(m_link.FrameText(), static_cast<size_t>(length)));
        else if (PortVanished())
            CloseVanishedPort();
    }
}

// With the port closed nothing can arrive: no polling a thousand times a
// second, only a look for the port once a second when it is wanted back.
void CSerialReceiver::WaitWhileClosed()
{
    if (m_reopen)
        m_thread.Wait(kRetryInterval);
    else
        m_thread.WaitForStop();
}

bool CSerialReceiver::PortVanished()
{
    if (m_link.ReadFailed())
        return true;
    // A read that only timed out may still come from a device that has
    // gone (under Wine a pseudo-terminal whose other end went times out);
    // its name is looked up at most once a second.
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastCheck < kRetryInterval)
        return false;
    m_lastCheck = now;
    return m_link.DeviceGone();
}

// Reads of an unplugged adapter fail at once, over and over: the port is
// given back, so that it can be opened again once it is back.
void CSerialReceiver::CloseVanishedPort()
{
    m_link.Close();
    m_sink.OnSerialEvent(ISerialSink::Event::Lost);
}

void CSerialReceiver::ReopenPort()
{
    if (m_thread.Stopping() || !m_reopen || !m_link.Open(false))
        return;
    // The unfinished frame of the port's earlier life is never completed.
    m_link.Reset();
    m_sink.OnSerialEvent(ISerialSink::Event::Reopened);
}
