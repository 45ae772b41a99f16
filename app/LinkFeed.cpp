#include "app/LinkFeed.h"

#include "acquisition/SerialLink.h"
#include "acquisition/SerialPort.h"
#include "app/FramePipeline.h"
#include "processing/NoticeText.h"

#include <utility>

CLinkFeed::CLinkFeed(CFramePipeline& pipeline, const CSerialLink& serial, std::string portLost)
    : m_pipeline(pipeline), m_serial(serial), m_portLost(std::move(portLost))
{
}

void CLinkFeed::OnFrames(std::vector<std::string>& frames, const SocketAddress&)
{
    m_pipeline.HandleFrames(frames);
}

void CLinkFeed::OnLinkEvent(int, const std::string& line)
{
    if (!line.empty())
        m_pipeline.AddToFrameList(line);
}

void CLinkFeed::OnSerialFrame(const std::string& frame)
{
    std::string text = frame;
    m_pipeline.HandleFrame(text);
}

void CLinkFeed::OnSerialEvent(Event event)
{
    if (event == Event::Reopened)
    {
        m_pipeline.AddToFrameList("Initilize COM PORT !!!");
        m_pipeline.AddToFrameList(" -> succeded !!!");
        return;
    }
    const SerialPortConfig* config = CSerialPort::GetConfig(m_serial.GetPort());
    m_pipeline.AddToFrameList(
        NoticeText::Filled(m_portLost, config ? config->portName : std::string(), "") + "\r\n");
}
