#include "controls/OwnerDrawControl.h"

#include "framework/GdiHolders.h"

#include <commctrl.h>

namespace
{
// Button and static controls keep their kind in the low style bits.
const LONG_PTR kButtonTypeMask = 0x0F;
const LONG_PTR kStaticTypeMask = 0x1F;
// The parent hands a control's WM_DRAWITEM back to the control itself.
const UINT kDrawItemMessage = WM_APP + WM_DRAWITEM;
const UINT_PTR kParentSubclassId = 1;

bool IsButton(HWND control)
{
    char name[16] = "";
    ::GetClassNameA(control, name, sizeof name);
    return ::lstrcmpiA(name, "Button") == 0;
}

void MakeOwnerDrawn(HWND control)
{
    const LONG_PTR style = ::GetWindowLongPtrA(control, GWL_STYLE);
    const LONG_PTR drawn = IsButton(control) ? (style & ~kButtonTypeMask) | BS_OWNERDRAW
                                             : (style & ~kStaticTypeMask) | SS_OWNERDRAW;
    ::SetWindowLongPtrA(control, GWL_STYLE, drawn);
}
}

bool COwnerDrawControl::Attach(HWND dialog, int id)
{
    if (!SubclassDlgItem(id, dialog))
        return false;
    // One subclass serves all the owner-drawn controls of a parent: every
    // level of subclassing costs each message the parent gets, and under
    // Wine each level is a round trip to the server.
    if (!::SetWindowSubclass(dialog, ParentProc, kParentSubclassId, 0))
        return false;
    MakeOwnerDrawn(m_hWnd);
    Redraw();
    return true;
}

// A control whose object is gone leaves the message unanswered (0), and
// the parent's own handlers get it.
LRESULT CALLBACK COwnerDrawControl::ParentProc(HWND hWnd, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_DRAWITEM) {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlType != ODT_MENU && ::SendMessageA(item.hwndItem, kDrawItemMessage, 0, lParam))
            return TRUE;
    }
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
}

void COwnerDrawControl::DrawBuffered(const DRAWITEMSTRUCT& item)
{
    const RECT& target = item.rcItem;
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    if (width <= 0 || height <= 0)
        return;
    const CMemoryDC buffer(item.hDC, width, height);
    const RECT local{0, 0, width, height};
    Paint(buffer.Get(), local, item.itemState);
    ::BitBlt(item.hDC, target.left, target.top, width, height, buffer.Get(), 0, 0, SRCCOPY);
}

LRESULT COwnerDrawControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE;   // Paint covers every pixel
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_ENABLE: {
        const LRESULT result = Default(message, wParam, lParam);
        Redraw();
        return result;
    }
    case kDrawItemMessage:
        DrawBuffered(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    default:
        return Default(message, wParam, lParam);
    }
}

HBRUSH COwnerDrawControl::ParentBackground(HDC dc) const
{
    const HWND parent = ::GetParent(m_hWnd);
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageA(
        parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_hWnd)));
    return brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE);
}

HFONT COwnerDrawControl::Font() const
{
    const auto font = reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void COwnerDrawControl::Redraw() const
{
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}
