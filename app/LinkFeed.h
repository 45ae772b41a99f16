#pragma once
#include "acquisition/LinkSink.h"
#include "acquisition/SerialReceiver.h"

#include <string>
#include <vector>

class CFramePipeline;
class CSerialLink;

// Hands what the links deliver to the pipeline, on the links' threads: the
// frames, to be stored, and the lines that tell of connections and ports,
// which the list shows after the frames before them.
class CLinkFeed final : public CLinkSink, public ISerialSink
{
public:
    // `portLost` is the line of a serial port that has gone, "%1" standing
    // for its name.
    CLinkFeed(CFramePipeline& pipeline, const CSerialLink& serial, std::string portLost);

    void OnFrames(std::vector<std::string>& frames, const SocketAddress& sender) override;
    void OnLinkEvent(int code, const std::string& line) override;
    void OnSerialFrame(const std::string& frame) override;
    void OnSerialEvent(Event event) override;

private:
    CFramePipeline& m_pipeline;
    const CSerialLink& m_serial;
    const std::string m_portLost;
};
