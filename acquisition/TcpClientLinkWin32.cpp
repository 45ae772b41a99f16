#include "acquisition/TcpClientLink.h"

#include "acquisition/LinkMessages.h"

#include <windows.h>

void CTcpClientLink::SendFrameToWindow(const char* text, int length)
{
    if (m_frameWindow)
        SendMessageA(static_cast<HWND>(m_frameWindow), WM_LINK_FRAME, reinterpret_cast<WPARAM>(text),
                     length);
}

void CTcpClientLink::ReportEventToWindows(int code)
{
    const HWND statusList = static_cast<HWND>(m_statusList);
    const HWND eventWindow = statusList ? GetParent(statusList) : static_cast<HWND>(m_frameWindow);
    if (!eventWindow || !IsWindow(eventWindow))
        return;
    // Sent, not posted: the line comes before the frames that follow it.
    const std::string line = StatusLine(code);
    if (!line.empty() && statusList)
        SendMessageA(statusList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    PostMessageA(eventWindow, WM_LINK_EVENT, static_cast<WPARAM>(code), reinterpret_cast<LPARAM>(this));
}
