#include "printing/ProgressWindow.h"

#include "printing/ProgressText.h"
#include "framework/Application.h"

#include <commctrl.h>

#include <cstdarg>
#include <cstdio>

const char* const CProgressWindow::ProfileSection = "Settings";
const char* const CProgressWindow::WindowClassName = "QuorbelProgressWindow";

namespace
{
const int Margin = 10;
const int TextBufferSize = 512;

const CWindow::WindowClass ProgressClass{CProgressWindow::WindowClassName,
                                         CS_HREDRAW | CS_VREDRAW | CS_OWNDC, IDC_APPSTARTING};

// A window of another thread would tie this thread's input to it.
HWND ThreadMainWindow()
{
    const HWND main = CApplication::MainWindow();
    return main && GetWindowThreadProcessId(main, nullptr) == GetCurrentThreadId() ? main : nullptr;
}

COLORREF GradientColour(int band, int bands)
{
    const int dark = 52;
    const int bright = 255;
    return RGB(0, dark + (bright - dark) * band / (bands - 1), 0);
}

SIZE TextExtent(HWND hwnd, HFONT font, const std::string& text)
{
    SIZE size{0, 0};
    HDC dc = GetDC(hwnd);
    HGDIOBJ previous = SelectObject(dc, font);
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(hwnd, dc);
    return size;
}

bool IsOnScreen(int x, int y)
{
    return x >= 0 && y >= 0 && x < GetSystemMetrics(SM_CXSCREEN) && y < GetSystemMetrics(SM_CYSCREEN);
}
}

CProgressWindow::CProgressWindow(HWND owner, const std::string& title, bool smooth, bool cancellable,
                                 int textLines, int width, int fontHeight)
    : m_textWnd(nullptr), m_progressWnd(nullptr), m_cancelWnd(nullptr),
      m_font(nullptr), m_title(title), m_cancelText(" Cancel "),
      m_textLines(textLines > 0 ? textLines : 2), m_width(width), m_fontHeight(fontHeight),
      m_lower(0), m_upper(100), m_step(1), m_position(0), m_shownPercent(0),
      m_cancellable(cancellable), m_cancelled(false), m_rememberPosition(true)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    CreateFont(fontHeight);
    if (!owner)
        owner = ThreadMainWindow();
    if (!Create(title, WS_POPUP | WS_CAPTION, WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, RECT{0, 0, 390, 130},
                owner, ProgressClass))
        return;
    CreateChildren(smooth);
    Layout();
    PlaceWindow(owner);
    ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

CProgressWindow::~CProgressWindow()
{
    DestroyWindow();
    if (m_font)
        DeleteObject(m_font);
}

void CProgressWindow::CreateFont(int fontHeight)
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight = fontHeight;
    m_font = CreateFontIndirectA(&metrics.lfMessageFont);
}

void CProgressWindow::CreateChildren(bool smooth)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    m_textWnd = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_LEFTNOWORDWRAP,
                                0, 0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(TextId), instance, nullptr);
    const DWORD barStyle = WS_CHILD | (m_cancellable ? WS_VISIBLE : 0) | (smooth ? PBS_SMOOTH : 0);
    m_progressWnd = CreateWindowExA(0, PROGRESS_CLASSA, "", barStyle, 0, 0, 0, 0, m_hWnd,
                                    reinterpret_cast<HMENU>(ProgressBarId), instance, nullptr);
    m_cancelWnd = CreateWindowExA(0, "BUTTON", m_cancelText.c_str(),
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, m_hWnd,
                                  reinterpret_cast<HMENU>(CancelButtonId), instance, nullptr);
    for (HWND child : {m_textWnd, m_progressWnd, m_cancelWnd})
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    EnableWindow(m_cancelWnd, m_cancellable);
}

void CProgressWindow::Layout()
{
    const int lineHeight = TextExtent(m_hWnd, m_font, "M").cy;
    const RECT text{Margin, Margin, Margin + m_width, Margin + m_textLines * lineHeight};
    const SIZE cancel = TextExtent(m_hWnd, m_font, m_cancelText + "  ");
    const int edgeX = GetSystemMetrics(SM_CXEDGE);
    const int edgeY = GetSystemMetrics(SM_CYEDGE);
    const int buttonWidth = cancel.cx + 4 * edgeX;
    const int buttonHeight = cancel.cy + 3 * edgeY;
    const RECT button{text.right - buttonWidth, text.bottom + Margin, text.right,
                      text.bottom + Margin + buttonHeight};
    const RECT bar{text.left, button.top + edgeY, button.left - Margin, button.bottom - edgeY};

    MoveWindow(m_textWnd, text.left, text.top, text.right - text.left, text.bottom - text.top, FALSE);
    MoveWindow(m_cancelWnd, button.left, button.top, buttonWidth, buttonHeight, FALSE);
    MoveWindow(m_progressWnd, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, FALSE);

    RECT window{0, 0, text.right + Margin, button.bottom + Margin};
    AdjustWindowRectEx(&window, static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)));
    SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CProgressWindow::PlaceWindow(HWND owner)
{
    if (m_rememberPosition)
    {
        const int x = CApplication::GetProfileInt(ProfileSection, "X", -1);
        const int y = CApplication::GetProfileInt(ProfileSection, "Y", -1);
        if (IsOnScreen(x, y))
        {
            SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return;
        }
    }
    RECT area;
    if (!owner || !GetWindowRect(owner, &area))
        SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    RECT window;
    GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    SetWindowPos(m_hWnd, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CProgressWindow::SavePosition()
{
    RECT window;
    if (!GetWindowRect(m_hWnd, &window))
        return;
    CApplication::WriteProfileInt(ProfileSection, "X", window.left);
    CApplication::WriteProfileInt(ProfileSection, "Y", window.top);
}

void CProgressWindow::SetRange(int lower, int upper, int step)
{
    m_lower = lower;
    m_upper = upper;
    m_step = step;
    SendMessageA(m_progressWnd, PBM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
    SendMessageA(m_progressWnd, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void CProgressWindow::SetText(const char* format, ...)
{
    char buffer[TextBufferSize];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    m_text = buffer;
    SetWindowTextA(m_textWnd, buffer);
}

int CProgressWindow::StepIt()
{
    return SetPos(m_position + m_step);
}

int CProgressWindow::SetPos(int position)
{
    if (m_hWnd && !IsWindowVisible(m_hWnd))
        Show();
    m_position = position;
    const int percent = ProgressPercent(position, m_lower, m_upper);
    if (!m_cancellable)
        return 0;
    if (percent != m_shownPercent)
    {
        m_shownPercent = percent;
        SetWindowTextA(m_hWnd, PercentCaption(m_title, percent).c_str());
    }
    return static_cast<int>(SendMessageA(m_progressWnd, PBM_SETPOS, static_cast<WPARAM>(position), 0));
}

void CProgressWindow::PeekAndPump(bool cancelOnEscape)
{
    MSG message;
    while (!m_cancelled && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    {
        if (message.message == WM_QUIT)
        {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (cancelOnEscape && message.message == WM_CHAR && message.wParam == VK_ESCAPE)
        {
            OnCancel();
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void CProgressWindow::Hide()
{
    ShowWindow(m_hWnd, SW_HIDE);
}

void CProgressWindow::Show()
{
    ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
}

void CProgressWindow::OnCancel()
{
    if (m_rememberPosition)
        SavePosition();
    m_cancelled = true;
    Hide();
    if (const HWND main = ThreadMainWindow())
        SetForegroundWindow(main);
}

void CProgressWindow::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int bands = 255;
    for (int band = 0; band < bands; ++band)
    {
        const RECT strip{client.right * band / bands, client.top, client.right * (band + 1) / bands,
                         client.bottom};
        HBRUSH brush = CreateSolidBrush(GradientColour(band, bands));
        FillRect(dc, &strip, brush);
        DeleteObject(brush);
    }
    EndPaint(m_hWnd, &paint);
}

LRESULT CProgressWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == CancelButtonId && HIWORD(wParam) == BN_CLICKED)
        {
            OnCancel();
            return 0;
        }
        break;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_DESTROY:
        if (m_rememberPosition)
            SavePosition();
        break;
    default:
        break;
    }
    return CWindow::WindowProc(message, wParam, lParam);
}
