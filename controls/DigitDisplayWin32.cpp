#include "controls/DigitDisplay.h"

#include "framework/GdiHolders.h"

#include <algorithm>

namespace
{
const COLORREF kPanel = RGB(12, 20, 12);
const COLORREF kLit = RGB(40, 255, 90);
const COLORREF kUnlit = RGB(24, 56, 30);

// Bit 0 is the top segment, then clockwise (top right, bottom right,
// bottom, bottom left, top left), bit 6 the middle one.
unsigned SegmentsOf(char character)
{
    static const unsigned kDigits[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                         0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    if (character >= '0' && character <= '9')
        return kDigits[character - '0'];
    return character == '-' ? 0x40 : 0;
}

// A segment is a long hexagon between two points on one line, with
// pointed ends so that neighbouring segments meet at a slant.
void SegmentPolygon(POINT from, POINT to, int thickness, POINT (&shape)[6])
{
    const int half = std::max(1, thickness / 2);
    const bool horizontal = from.y == to.y;
    auto at = [&](POINT p, int forward, int across) {
        return horizontal ? POINT{p.x + forward, p.y + across} : POINT{p.x + across, p.y + forward};
    };
    shape[0] = from;
    shape[1] = at(from, half, -half);
    shape[2] = at(to, -half, -half);
    shape[3] = to;
    shape[4] = at(to, -half, half);
    shape[5] = at(from, half, half);
}
}

void CDigitDisplay::SetText(const std::string& text)
{
    if (m_hWnd)
        ::SetWindowTextA(m_hWnd, text.c_str());
}

void CDigitDisplay::Paint(HDC dc, const RECT& rect, UINT)
{
    const CBrush panel(::CreateSolidBrush(kPanel));
    ::FillRect(dc, &rect, panel.Get());

    const std::string text = GetText(m_hWnd);
    if (text.empty())
        return;
    const int height = static_cast<int>(rect.bottom - rect.top);
    const int count = static_cast<int>(text.size());
    // Digits keep a shape of about 3:5 and the row stays centred.
    const int cellWidth = std::min(static_cast<int>(rect.right - rect.left) / count, height * 3 / 5);
    const int left = (rect.right - rect.left - cellWidth * count) / 2;
    for (int i = 0; i < count; ++i) {
        const RECT cell{left + i * cellWidth, rect.top, left + (i + 1) * cellWidth, rect.bottom};
        PaintDigit(dc, cell, SegmentsOf(text[static_cast<size_t>(i)]));
    }
}

void CDigitDisplay::PaintDigit(HDC dc, const RECT& cell, unsigned segments) const
{
    const int thickness = std::max(2, static_cast<int>(cell.bottom - cell.top) / 10);
    const int l = cell.left + thickness;
    const int r = cell.right - thickness;
    const int t = cell.top + thickness;
    const int b = cell.bottom - thickness;
    const int m = (t + b) / 2;
    const int gap = 1;
    const POINT ends[7][2] = {
        {{l + gap, t}, {r - gap, t}}, {{r, t + gap}, {r, m - gap}}, {{r, m + gap}, {r, b - gap}},
        {{l + gap, b}, {r - gap, b}}, {{l, m + gap}, {l, b - gap}}, {{l, t + gap}, {l, m - gap}},
        {{l + gap, m}, {r - gap, m}},
    };
    const CBrush lit(::CreateSolidBrush(kLit));
    const CBrush unlit(::CreateSolidBrush(kUnlit));
    const CSelection pen(dc, ::GetStockObject(NULL_PEN));
    CSelection brush(dc, unlit.Get());
    for (unsigned s = 0; s < 7; ++s) {
        POINT shape[6];
        SegmentPolygon(ends[s][0], ends[s][1], thickness, shape);
        brush.Select((segments >> s) & 1U ? lit.Get() : unlit.Get());
        ::Polygon(dc, shape, 6);
    }
}
