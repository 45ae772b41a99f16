// The TCP link's Windows side.  Sockets are started by the environment of
// TcpLinkTest.cpp, in the same program.
#include "acquisition/LinkMessages.h"
#include "acquisition/TcpClientLink.h"
#include "tools/vorlsim/TcpServer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// The frames the test window received, in order.
std::vector<std::string> g_frames;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_LINK_FRAME)
        return DefWindowProcA(window, message, wParam, lParam);
    g_frames.emplace_back(reinterpret_cast<const char*>(wParam));
    return 0;
}
}

TEST(LinkWindow, StopHandlesTheFrameBeingDeliveredAndEndsTheThread)
{
    const HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc));
    CTcpServer server;
    std::string error;
    ASSERT_TRUE(server.Listen("127.0.0.1", 0, error)) << error;
    CTcpClientLink link;
    link.SetFrameWindow(window);
    ASSERT_TRUE(link.Connect("127.0.0.1", std::to_string(server.Port()).c_str()));
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(link.StartReceiving());
    ASSERT_TRUE(server.Write("WAITING\r\nNEXT\r\n", 15));
    // The receive thread now waits in SendMessage for this thread, which
    // is not pumping: Stop must handle that frame instead of freezing.
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (!(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) && GetTickCount64() < deadline)
        Sleep(10);
    link.Stop();
    EXPECT_FALSE(link.IsReceiving());
    EXPECT_FALSE(link.IsOpen());
    ASSERT_FALSE(g_frames.empty());
    EXPECT_EQ("WAITING", g_frames[0]);
    DestroyWindow(window);
}

// The Windows build has a services database; the native test machine may
// have none.
TEST(TcpLinkService, LooksServiceNamesUpInTheServicesDatabase)
{
    EXPECT_EQ(80, CSocketLinkBase::ResolveService("http"));
}
