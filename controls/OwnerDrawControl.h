#pragma once
#include "framework/Window.h"

// A dialog's static or button control that this object draws completely.
// The control is switched to owner drawing and its parent is subclassed
// as well (once for all such controls), so the parent's WM_DRAWITEM for
// this control comes here and never reaches the dialog's own handlers.  Drawing goes through an
// off-screen bitmap, so frequent updates do not flicker.
class COwnerDrawControl : public CWindow
{
public:
    COwnerDrawControl() = default;

    bool Attach(HWND dialog, int id);

protected:
    // Draws the whole of `rect`; `state` holds the ODS_* flags.
    virtual void Paint(HDC dc, const RECT& rect, UINT state) = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The background the parent gives its static controls (WM_CTLCOLORSTATIC).
    HBRUSH ParentBackground(HDC dc) const;
    HFONT Font() const;
    void Redraw() const;

private:
    static LRESULT CALLBACK ParentProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR);
    void DrawBuffered(const DRAWITEMSTRUCT& item);
};
