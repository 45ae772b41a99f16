#pragma once
#include "acquisition/SerialLink.h"
#include "acquisition/SerialReceiver.h"
#include "acquisition/TcpClientLink.h"
#include "app/LinkFeed.h"

#include <functional>
#include <string>

class CFramePipeline;
class CReceiverSettings;

// The station's link to its instrument, over TCP or a serial port as the
// settings say, started, looked at and stopped as one.  Both links hand
// their frames and lines to the pipeline on threads of their own; the
// caller only starts and stops them, and an instrument that does not
// answer never holds it up.
class CStationLink final
{
public:
    CStationLink(CFramePipeline& pipeline, std::string portLostLine);
    ~CStationLink();
    CStationLink(const CStationLink&) = delete;
    CStationLink& operator=(const CStationLink&) = delete;

    // Starts the link the settings name; its lines go to the list, and to
    // `show` as well (a progress window).
    void Start(const CReceiverSettings& settings, const std::function<void(const std::string&)>& show);
    // Closes both links; the TCP link stores the frames that have arrived
    // before it closes.
    void Stop();
    // The serial port's reader, which alone opens and closes the port
    // while it runs: started after Start, stopped while Setup runs.
    void StartSerialReceiver() { m_serialReceiver.Start(m_serialWanted); }
    void StopSerialReceiver() { m_serialReceiver.Stop(); }
    // True while the link the settings name is connected (TCP) or open
    // (serial).
    bool IsUp(const CReceiverSettings& settings) const;
    // Everything that makes a link what it is: settings with the same
    // identity need no new connection.
    static std::string Identity(const CReceiverSettings& settings);
    int SerialPort() const { return m_serial.GetPort(); }

private:
    void StartTcp(const CReceiverSettings& settings, const std::function<void(const std::string&)>& show);
    void StartSerial(const CReceiverSettings& settings, const std::function<void(const std::string&)>& show);

    CFramePipeline& m_pipeline;
    CSerialLink m_serial;
    CLinkFeed m_feed;
    CTcpClientLink m_tcp;
    CSerialReceiver m_serialReceiver;
    // The configured port is to be opened again whenever it has gone;
    // changed only while the serial receiver is stopped.
    bool m_serialWanted = false;
};
