#include "controls/ShadeButton.h"

#include "framework/Application.h"
#include "framework/GdiHolders.h"

#include <algorithm>

namespace
{
const int kIconSize = 16;
const int kIconGap = 4;

// `percent` of the way from `from` to `to`.
COLORREF Mix(COLORREF from, COLORREF to, int percent)
{
    const int p = std::clamp(percent, 0, 100);
    auto channel = [p](int a, int b) { return static_cast<BYTE>(a + (b - a) * p / 100); };
    return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
               channel(GetBValue(from), GetBValue(to)));
}

COLORREF Lighter(COLORREF colour, int percent)
{
    return percent >= 0 ? Mix(colour, RGB(255, 255, 255), percent)
                        : Mix(colour, RGB(0, 0, 0), -percent);
}
}

void CShadeButton::SetShade(int granularity, int highlight, int coloring, int shadeType,
                            COLORREF colour)
{
    m_granularity = std::max(1, granularity);
    m_highlight = highlight;
    m_coloring = coloring;
    m_shadeType = shadeType;
    m_colour = colour;
    Redraw();
}

bool CShadeButton::SetIcon(int iconId)
{
    m_icon.Reset(CApplication::LoadSmallIcon(static_cast<UINT>(iconId)));
    Redraw();
    return m_icon.Get() != nullptr;
}

LRESULT CShadeButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEMOVE && !m_hot)
        TrackHot(true);
    else if (message == WM_MOUSELEAVE)
        TrackHot(false);
    return COwnerDrawControl::WindowProc(message, wParam, lParam);
}

void CShadeButton::TrackHot(bool hot)
{
    m_hot = hot;
    if (hot) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
    }
    Redraw();
}

void CShadeButton::Paint(HDC dc, const RECT& rect, UINT state)
{
    const bool pressed = (state & ODS_SELECTED) != 0;
    PaintFace(dc, rect, pressed);
    RECT frame = rect;
    ::DrawEdge(dc, &frame, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    if (pressed)
        ::OffsetRect(&frame, 1, 1);
    PaintContent(dc, frame, state);
    if (state & ODS_FOCUS) {
        const CBrush outline(::CreateSolidBrush(m_colour));
        ::FrameRect(dc, &rect, outline.Get());
        RECT focus = rect;
        ::InflateRect(&focus, -4, -4);
        ::DrawFocusRect(dc, &focus);
    }
}

void CShadeButton::PaintFace(HDC dc, const RECT& rect, bool pressed) const
{
    COLORREF face = Mix(::GetSysColor(COLOR_BTNFACE), m_colour, m_coloring);
    if (m_hot && ::IsWindowEnabled(m_hWnd))
        face = Lighter(face, m_highlight);
    const int depth = m_shadeType * 4 * (pressed ? -1 : 1);
    const int height = std::max(1, static_cast<int>(rect.bottom - rect.top));
    for (int y = rect.top; y < rect.bottom; y += m_granularity) {
        // From `depth` percent lighter at the top to as much darker at the bottom.
        const int shade = depth - 2 * depth * (y - rect.top) / height;
        const RECT band{rect.left, y, rect.right, std::min(y + m_granularity, static_cast<int>(rect.bottom))};
        const CBrush brush(::CreateSolidBrush(Lighter(face, shade)));
        ::FillRect(dc, &band, brush.Get());
    }
}

void CShadeButton::PaintContent(HDC dc, RECT rect, UINT state) const
{
    const bool disabled = (state & ODS_DISABLED) != 0;
    const std::string caption = GetText(m_hWnd);
    const CSelection font(dc, Font());
    RECT measured{0, 0, 0, 0};
    ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
                DT_SINGLELINE | DT_CALCRECT);
    const int iconWidth = m_icon.Get() ? kIconSize + (caption.empty() ? 0 : kIconGap) : 0;
    const int width = iconWidth + (measured.right - measured.left);
    const int left = rect.left + std::max(0, static_cast<int>(rect.right - rect.left - width) / 2);
    if (m_icon.Get())
        ::DrawState(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(m_icon.Get()), 0, left,
                    rect.top + (rect.bottom - rect.top - kIconSize) / 2, kIconSize, kIconSize,
                    DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
    RECT textRect{left + iconWidth, rect.top, rect.right, rect.bottom};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}
