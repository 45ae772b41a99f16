#include "controls/XPGroupBox.h"

#include "framework/Application.h"

namespace
{
const COLORREF kFrameColour = RGB(165, 172, 178);
const COLORREF kCaptionColour = RGB(0, 70, 213);
const int kIconSize = 16;
}

CXPGroupBox::~CXPGroupBox()
{
    if (m_icon)
        ::DestroyIcon(m_icon);
}

bool CXPGroupBox::Attach(HWND dialog, int groupId)
{
    return SubclassDlgItem(groupId, dialog);
}

bool CXPGroupBox::SetIcon(int iconId)
{
    if (m_icon)
        ::DestroyIcon(m_icon);
    m_icon = CApplication::LoadSmallIcon(static_cast<UINT>(iconId));
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return m_icon != nullptr;
}

void CXPGroupBox::Paint(HDC dc) const
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const HGDIOBJ oldFont =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
    const std::string caption = GetText(m_hWnd);
    SIZE text{};
    ::GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    const int titleHeight = m_icon && kIconSize > text.cy ? kIconSize : text.cy;

    const HPEN pen = ::CreatePen(PS_SOLID, 1, kFrameColour);
    const HGDIOBJ oldPen = ::SelectObject(dc, pen);
    const HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, client.left, client.top + titleHeight / 2, client.right, client.bottom, 7, 7);

    // The caption sits on a patch of dialog colour that hides the frame line.
    const int iconWidth = m_icon ? kIconSize + 3 : 0;
    RECT title{client.left + 7, client.top, client.left + 11 + iconWidth + text.cx,
               client.top + titleHeight};
    ::FillRect(dc, &title, ::GetSysColorBrush(COLOR_BTNFACE));
    if (m_icon)
        ::DrawIconEx(dc, title.left + 2, title.top, m_icon, kIconSize, kIconSize, 0, nullptr,
                     DI_NORMAL);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::IsWindowEnabled(m_hWnd) ? kCaptionColour : ::GetSysColor(COLOR_GRAYTEXT));
    ::TextOutA(dc, title.left + 2 + iconWidth, title.top + (titleHeight - text.cy) / 2,
               caption.c_str(), static_cast<int>(caption.size()));

    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldFont);
    ::DeleteObject(pen);
}

LRESULT CXPGroupBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = ::BeginPaint(m_hWnd, &ps);
        Paint(dc);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return TRUE;   // the inside belongs to the controls in the group
    case WM_ENABLE:
    case WM_SETTEXT: {
        const LRESULT result = Default(message, wParam, lParam);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        return result;
    }
    default:
        return Default(message, wParam, lParam);
    }
}
