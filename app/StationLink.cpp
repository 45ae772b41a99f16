#include "app/StationLink.h"

#include "app/FramePipeline.h"
#include "processing/ReceiverSettings.h"

#include <utility>

CStationLink::CStationLink(CFramePipeline& pipeline, std::string portLostLine)
    : m_pipeline(pipeline), m_feed(pipeline, m_serial, std::move(portLostLine)), m_tcp(m_feed),
      m_serialReceiver(m_serial, m_feed)
{
}

// The receivers end before the port and the feed they use.
CStationLink::~CStationLink()
{
    m_serialReceiver.Stop();
    m_tcp.Stop();
}

void CStationLink::Start(const CReceiverSettings& settings,
                         const std::function<void(const std::string&)>& show)
{
    if (settings.GetLinkType() == CReceiverSettings::LinkSerial)
        StartSerial(settings, show);
    else
        StartTcp(settings, show);
}

void CStationLink::StartTcp(const CReceiverSettings& settings,
                            const std::function<void(const std::string&)>& show)
{
    const std::string ip = settings.GetServerIp();
    const std::string port = settings.GetServerPort();
    const std::string line = "Connect to server: " + ip + " on port " + port + "\r\n";
    m_pipeline.AddToFrameList(line);
    show(line);
    // The link connects on its own thread and adds the outcome to the list.
    m_tcp.StartConnecting(ip, port, settings.m_reconnect != 0);
}

void CStationLink::StartSerial(const CReceiverSettings& settings,
                               const std::function<void(const std::string&)>& show)
{
    show("Initilize COM PORT !!!");
    m_pipeline.AddToFrameList("Initilize COM PORT !!!");
    m_serial.SetPort(settings.m_comPort);
    m_serial.Open();
    // Half a frame from before the setup is never completed.
    m_serial.Reset();
    m_serialWanted = settings.m_reconnect != 0;
    const char* const outcome = m_serial.IsOpen() ? " -> succeded !!!" : " -> failed !!!";
    m_pipeline.AddToFrameList(outcome);
    show(outcome);
}

void CStationLink::Stop()
{
    m_serialWanted = false;
    if (m_serial.IsOpen())
        m_serial.Close();
    m_tcp.Stop();
}

bool CStationLink::IsUp(const CReceiverSettings& settings) const
{
    if (settings.GetLinkType() == CReceiverSettings::LinkSerial)
        return m_serial.IsOpen();
    return m_tcp.IsConnected();
}

std::string CStationLink::Identity(const CReceiverSettings& settings)
{
    const int port = settings.m_comPort;
    return std::to_string(settings.GetLinkType()) + '|' + settings.GetServerIp() + '|' +
           settings.GetServerPort() + '|' + std::to_string(settings.m_reconnect) + '|' +
           std::to_string(port) + '|' + CSerialPort::Describe(port);
}
