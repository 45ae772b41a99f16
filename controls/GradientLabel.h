#pragma once
#include "controls/OwnerDrawControl.h"

// A dialog's static control shown as a caption bar: a horizontal gradient
// with the text on it, left-aligned, vertically centred and cut with an
// ellipsis when it does not fit.
class CGradientLabel : public COwnerDrawControl
{
public:
    void SetGradient(COLORREF from, COLORREF to);
    void SetTextColor(COLORREF colour);
    // The font stays the caller's; it must live as long as the label shows it.
    void SetFont(HFONT font);

protected:
    void Paint(HDC dc, const RECT& rect, UINT state) override;

private:
    COLORREF m_from = RGB(0, 0, 0);
    COLORREF m_to = RGB(0, 0, 255);
    COLORREF m_text = RGB(255, 255, 255);
};
