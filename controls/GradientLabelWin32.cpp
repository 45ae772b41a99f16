#include "controls/GradientLabel.h"

#include "framework/GdiHolders.h"

namespace
{
const int kTextMargin = 4;

TRIVERTEX Vertex(LONG x, LONG y, COLORREF colour)
{
    return TRIVERTEX{x, y, static_cast<COLOR16>(GetRValue(colour) << 8),
                     static_cast<COLOR16>(GetGValue(colour) << 8),
                     static_cast<COLOR16>(GetBValue(colour) << 8), 0};
}
}

void CGradientLabel::SetGradient(COLORREF from, COLORREF to)
{
    m_from = from;
    m_to = to;
    Redraw();
}

void CGradientLabel::SetTextColor(COLORREF colour)
{
    m_text = colour;
    Redraw();
}

void CGradientLabel::SetFont(HFONT font)
{
    if (m_hWnd)
        ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void CGradientLabel::Paint(HDC dc, const RECT& rect, UINT)
{
    TRIVERTEX corners[2] = {Vertex(rect.left, rect.top, m_from),
                            Vertex(rect.right, rect.bottom, m_to)};
    GRADIENT_RECT span{0, 1};
    ::GdiGradientFill(dc, corners, 2, &span, 1, GRADIENT_FILL_RECT_H);

    const std::string text = GetText(m_hWnd);
    RECT textRect{rect.left + kTextMargin, rect.top, rect.right - kTextMargin, rect.bottom};
    const CSelection font(dc, Font());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::IsWindowEnabled(m_hWnd) ? m_text : ::GetSysColor(COLOR_GRAYTEXT));
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}
