#include "controls/OwnerDrawControl.h"

#include <commctrl.h>

namespace
{
// Button and static controls keep their kind in the low style bits.
const LONG_PTR kButtonTypeMask = 0x0F;
const LONG_PTR kStaticTypeMask = 0x1F;

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

COwnerDrawControl::~COwnerDrawControl()
{
    ReleaseParent();
}

bool COwnerDrawControl::Attach(HWND dialog, int id)
{
    if (!SubclassDlgItem(id, dialog))
        return false;
    // `this` is unique among the parent's subclasses, so several controls
    // of one dialog each get their own.
    if (!::SetWindowSubclass(dialog, ParentProc, reinterpret_cast<UINT_PTR>(this),
                             reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_parent = dialog;
    MakeOwnerDrawn(m_hWnd);
    Redraw();
    return true;
}

void COwnerDrawControl::ReleaseParent()
{
    if (m_parent)
        ::RemoveWindowSubclass(m_parent, ParentProc, reinterpret_cast<UINT_PTR>(this));
    m_parent = nullptr;
}

LRESULT CALLBACK COwnerDrawControl::ParentProc(HWND hWnd, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR refData)
{
    auto* self = reinterpret_cast<COwnerDrawControl*>(refData);
    if (message == WM_DRAWITEM && self->m_hWnd &&
        reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem == self->m_hWnd) {
        self->DrawBuffered(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
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
    const HDC buffer = ::CreateCompatibleDC(item.hDC);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(item.hDC, width, height);
    const HGDIOBJ oldBitmap = ::SelectObject(buffer, bitmap);
    const RECT local{0, 0, width, height};
    Paint(buffer, local, item.itemState);
    ::BitBlt(item.hDC, target.left, target.top, width, height, buffer, 0, 0, SRCCOPY);
    ::SelectObject(buffer, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(buffer);
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
    case WM_NCDESTROY:
        // The parent outlives its children: let go of it while it exists.
        ReleaseParent();
        return Default(message, wParam, lParam);
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
