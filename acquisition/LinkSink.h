#pragma once
#include "acquisition/SocketAddress.h"

#include <string>
#include <vector>

// The events of a TCP link.  A failed attempt is reported only when it is
// the first, not at every retry.
constexpr int kLinkEventConnected = 1;
constexpr int kLinkEventConnectionLost = 2;
constexpr int kLinkEventConnectFailed = 3;

// Takes a TCP link's frames and events, on the link's receive thread.  The
// sink outlives its link, whose destructor ends that thread.
class CLinkSink
{
public:
    virtual ~CLinkSink() = default;
    // The frames one read completed, oldest first: each trimmed of its line
    // end, non-empty and at most CTcpClientLink::kMaxFrameText characters.
    virtual void OnFrames(std::vector<std::string>& frames, const SocketAddress& sender) = 0;
    // With the line that tells the operator of it.
    virtual void OnLinkEvent(int code, const std::string& line) = 0;
};
