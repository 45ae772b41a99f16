#pragma once
#include "acquisition/SocketAddress.h"

// Takes a TCP link's frames and events in place of its windows, on the
// link's receive thread.  The link owns its sink and ends that thread
// before the sink goes, so nothing the thread calls is ever destroyed
// under it.
class CLinkSink
{
public:
    virtual ~CLinkSink() = default;
    // One trimmed, non-empty frame, whole.
    virtual void OnFrame(const char* text, int length, const SocketAddress& sender) = 0;
    virtual void OnLinkEvent(int code) = 0;
};
