#include "acquisition/TcpClientLink.h"

// The native build has no windows: frames and events reach only a sink
// (the tests' and benchmarks').

void CTcpClientLink::SendFrameToWindow(const char*, int)
{
}

void CTcpClientLink::ReportEventToWindows(int)
{
}
