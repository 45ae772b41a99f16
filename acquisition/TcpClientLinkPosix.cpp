#include "acquisition/TcpClientLink.h"

// The native build has no windows: frames and events reach whoever
// overrides OnFrame and OnLinkEvent (the tests and benchmarks).

void CTcpClientLink::SendFrameToWindow(const char*, int)
{
}

void CTcpClientLink::OnLinkEvent(int)
{
}
