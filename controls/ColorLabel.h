#pragma once
#include "controls/OwnerDrawControl.h"

// A dialog's static control whose text, of one or more lines, is drawn in
// a colour of its own on the parent's background.  The static's alignment
// (SS_CENTER, SS_RIGHT) is kept.
class CColorLabel : public COwnerDrawControl
{
public:
    bool Attach(HWND dialog, int id);
    void SetTextColor(COLORREF colour);

protected:
    void Paint(HDC dc, const RECT& rect, UINT state) override;

private:
    COLORREF m_text = RGB(0, 0, 0);
    UINT m_alignment = DT_LEFT;
};
