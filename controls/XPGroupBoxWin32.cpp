#include "controls/XPGroupBox.h"

#include "framework/Application.h"
#include "framework/GdiHolders.h"

namespace
{
const COLORREF kFrameColour = RGB(165, 172, 178);
const COLORREF kCaptionColour = RGB(0, 70, 213);
const int kIconSize = 16;
}

bool CXPGroupBox::Attach(HWND dialog, int groupId)
{
    return SubclassDlgItem(groupId, dialog);
}

bool CXPGroupBox::SetIcon(int iconId)
{
    m_icon.Reset(CApplication::LoadSmallIcon(static_cast<UINT>(iconId)));
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return m_icon.Get() != nullptr;
}

void CXPGroupBox::Paint(HDC dc) const
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const CSelection font(dc, reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
    const HICON icon = m_icon.Get();
    const std::string caption = GetText(m_hWnd);
    SIZE text{};
    ::GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    const int titleHeight = icon && kIconSize > text.cy ? kIconSize : text.cy;

    const CPen pen(::CreatePen(PS_SOLID, 1, kFrameColour));
    const CSelection framePen(dc, pen.Get());
    const CSelection hollow(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, client.left, client.top + titleHeight / 2, client.right, client.bottom, 7, 7);

    // The caption sits on a patch of dialog colour that hides the frame line.
    const int iconWidth = icon ? kIconSize + 3 : 0;
    RECT title{client.left + 7, client.top, client.left + 11 + iconWidth + text.cx,
               client.top + titleHeight};
    ::FillRect(dc, &title, ::GetSysColorBrush(COLOR_BTNFACE));
    if (icon)
        ::DrawIconEx(dc, title.left + 2, title.top, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::IsWindowEnabled(m_hWnd) ? kCaptionColour : ::GetSysColor(COLOR_GRAYTEXT));
    ::TextOutA(dc, title.left + 2 + iconWidth, title.top + (titleHeight - text.cy) / 2,
               caption.c_str(), static_cast<int>(caption.size()));
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
