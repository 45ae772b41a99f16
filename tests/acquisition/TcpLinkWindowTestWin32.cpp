#include "acquisition/LinkMessages.h"
#include "acquisition/SocketApi.h"
#include "acquisition/TcpClientLink.h"
#include "tools/vorlsim/TcpServer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// What the test window received, in order.
struct WindowLog
{
    std::vector<std::string> frames;
    std::vector<WPARAM> events;
};

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* log = reinterpret_cast<WindowLog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (log && message == WM_LINK_FRAME)
    {
        log->frames.emplace_back(reinterpret_cast<const char*>(wParam));
        return 0;
    }
    if (log && message == WM_LINK_EVENT)
        log->events.push_back(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

// A window of this thread that records the link's messages.
class LinkWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SocketApi::Startup());
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuorbelLinkTestWindow";
        RegisterClassA(&windowClass);
        m_window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 200, 200, nullptr,
                                   nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(nullptr, m_window);
        SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_log));
        m_link.SetFrameWindow(m_window);
        std::string error;
        ASSERT_TRUE(m_server.Listen("127.0.0.1", 0, error)) << error;
        ASSERT_TRUE(m_link.Connect("127.0.0.1", std::to_string(m_server.Port()).c_str()));
        ASSERT_TRUE(m_server.Accept());
        ASSERT_TRUE(m_link.StartReceiving());
    }

    void TearDown() override
    {
        m_link.Stop();
        DestroyWindow(m_window);
        SocketApi::Cleanup();
    }

    void Send(const std::string& bytes) { ASSERT_TRUE(m_server.Write(bytes.data(), bytes.size())); }

    WindowLog m_log;
    HWND m_window = nullptr;
    CTcpServer m_server;
    CTcpClientLink m_link;
};
}

TEST_F(LinkWindow, StopHandlesTheFrameBeingDeliveredAndEndsTheThread)
{
    Send("WAITING\r\nNEXT\r\n");
    // The receive thread now waits in SendMessage for this thread, which
    // is not pumping: Stop must handle that frame instead of freezing.
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (!(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) && GetTickCount64() < deadline)
        Sleep(10);
    m_link.Stop();
    EXPECT_FALSE(m_link.IsReceiving());
    EXPECT_FALSE(m_link.IsOpen());
    ASSERT_FALSE(m_log.frames.empty());
    EXPECT_EQ("WAITING", m_log.frames[0]);
    EXPECT_TRUE(m_log.events.empty());
}
