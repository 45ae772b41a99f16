#pragma once

// The window messages of the TCP link.  Their numbers are fixed: the main
// window's message map and other programs rely on them.
//
// WM_LINK_FRAME is sent from the receive thread and returns once the window
// has handled the frame: wParam points to the NUL-terminated text (at most
// 259 characters, valid only during the call), lParam is its length.
// WM_LINK_EVENT is posted: wParam the event code, lParam the link.
constexpr unsigned WM_LINK_FRAME = 0x9236;
constexpr unsigned WM_LINK_EVENT = 0x9234;
constexpr int kLinkEventConnected = 1;
constexpr int kLinkEventConnectionLost = 2;
// Only a failed first attempt is reported, not every retry.
constexpr int kLinkEventConnectFailed = 3;
