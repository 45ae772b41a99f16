#pragma once
#include "framework/GdiHolders.h"
#include "controls/OwnerDrawControl.h"

// A dialog's push button with a shaded face and a small icon before its
// caption.  It stays a real button: clicks, the keyboard and BM_CLICK
// send BN_CLICKED to the dialog, and it shows focus, pressed, hot and
// disabled states.
//
// SetShade(granularity, highlight, coloring, shadeType, colour):
//   granularity  height in pixels of the bands the face is shaded in;
//   highlight    how much lighter, in percent, the face is under the mouse;
//   coloring     how much of `colour`, in percent, tints the button face;
//   shadeType    depth of the top-to-bottom shade in steps of 4 percent
//                (0 is a flat face); the face is lighter at the top and
//                darker at the bottom, the other way round while pressed.
// `colour` also draws the frame of the focused button.
class CShadeButton : public COwnerDrawControl
{
public:
    CShadeButton() = default;

    void SetShade(int granularity, int highlight, int coloring, int shadeType, COLORREF colour);
    // A 16x16 icon of the current resources; false when there is none.
    bool SetIcon(int iconId);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc, const RECT& rect, UINT state) override;

private:
    void PaintFace(HDC dc, const RECT& rect, bool pressed) const;
    void PaintContent(HDC dc, RECT rect, UINT state) const;
    void TrackHot(bool hot);

    CIconHolder m_icon;
    int m_granularity = 4;
    int m_highlight = 8;
    int m_coloring = 20;
    int m_shadeType = 5;
    COLORREF m_colour = RGB(55, 55, 255);
    bool m_hot = false;
};
