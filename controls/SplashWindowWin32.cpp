#include "controls/SplashWindow.h"

#include "framework/Application.h"
#include "framework/GdiHolders.h"

#include <memory>

namespace
{
const UINT_PTR kCloseTimer = 1;

bool g_enabled = false;
// The one splash; a splash whose window has gone waits here to be freed,
// so it is never deleted from inside its own window procedure.
std::unique_ptr<CSplashWindow> g_splash;

RECT CentredOn(HWND parent, int width, int height)
{
    RECT area;
    if (!parent || !::GetWindowRect(parent, &area))
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const int left = (area.left + area.right - width) / 2;
    const int top = (area.top + area.bottom - height) / 2;
    return {left, top, left + width, top + height};
}

bool IsPress(UINT message)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return true;
    default:
        return false;
    }
}
}

CSplashWindow::~CSplashWindow()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    if (m_bitmap)
        ::DeleteObject(m_bitmap);
}

void CSplashWindow::EnableSplashScreen(bool enable)
{
    g_enabled = enable;
}

bool CSplashWindow::ShowSplashScreen(HWND parent, int bitmapId, UINT milliseconds)
{
    if (!g_enabled || IsShowing())
        return false;
    std::unique_ptr<CSplashWindow> splash(new CSplashWindow);
    if (!splash->Open(parent, bitmapId, milliseconds))
        return false;
    g_splash = std::move(splash);   // frees a splash that has closed before
    return true;
}

bool CSplashWindow::IsShowing()
{
    return g_splash && g_splash->GetSafeHwnd();
}

void CSplashWindow::Close()
{
    g_splash.reset();
}

bool CSplashWindow::CloseOnInput(const MSG& message)
{
    if (!IsShowing() || !IsPress(message.message))
        return false;
    Close();
    return true;
}

bool CSplashWindow::Open(HWND parent, int bitmapId, UINT milliseconds)
{
    m_bitmap = static_cast<HBITMAP>(
        ::LoadImageA(CApplication::FindResourceModule(RT_BITMAP, static_cast<UINT>(bitmapId)),
                     MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, 0));
    BITMAP info{};
    if (!m_bitmap || !::GetObjectA(m_bitmap, sizeof info, &info))
        return false;
    if (!Create("", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                CentredOn(parent, info.bmWidth, info.bmHeight), parent))
        return false;
    ::SetTimer(m_hWnd, kCloseTimer, milliseconds, nullptr);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(m_hWnd);
    return true;
}

void CSplashWindow::Paint(HDC dc) const
{
    const HDC source = ::CreateCompatibleDC(dc);
    {
        const CSelection picture(source, m_bitmap);
        BITMAP info{};
        ::GetObjectA(m_bitmap, sizeof info, &info);
        ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    }
    ::DeleteDC(source);
}

LRESULT CSplashWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam != kCloseTimer)
            break;
        ::KillTimer(m_hWnd, kCloseTimer);
        ::DestroyWindow(m_hWnd);   // the object stays with its owner until replaced
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        Paint(::BeginPaint(m_hWnd, &ps));
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    default:
        break;
    }
    return Default(message, wParam, lParam);
}
