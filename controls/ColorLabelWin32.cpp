#include "controls/ColorLabel.h"

#include "framework/GdiHolders.h"

bool CColorLabel::Attach(HWND dialog, int id)
{
    // Owner drawing takes the bits that held the alignment: read it first.
    const LONG_PTR style = ::GetWindowLongPtrA(::GetDlgItem(dialog, id), GWL_STYLE);
    const LONG_PTR kind = style & 0x1F;
    m_alignment = kind == SS_CENTER ? DT_CENTER : kind == SS_RIGHT ? DT_RIGHT : DT_LEFT;
    return COwnerDrawControl::Attach(dialog, id);
}

void CColorLabel::SetTextColor(COLORREF colour)
{
    m_text = colour;
    Redraw();
}

void CColorLabel::Paint(HDC dc, const RECT& rect, UINT)
{
    ::FillRect(dc, &rect, ParentBackground(dc));
    const std::string text = GetText(m_hWnd);
    RECT textRect = rect;
    const CSelection font(dc, Font());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::IsWindowEnabled(m_hWnd) ? m_text : ::GetSysColor(COLOR_GRAYTEXT));
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                m_alignment | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
}
