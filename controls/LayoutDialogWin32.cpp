#include "controls/LayoutDialog.h"

const Anchor Anchor::TopLeft{0, 0, false};
const Anchor Anchor::TopRight{100, 0, false};
const Anchor Anchor::BottomLeft{0, 100, false};
const Anchor Anchor::BottomRight{100, 100, false};
const Anchor Anchor::None{0, 0, true};

namespace
{
LONG Follow(LONG start, LONG growth, int percent)
{
    return start + MulDiv(growth, percent, 100);
}
}

BOOL CLayoutDialog::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    m_minimumSize = {window.right - window.left, window.bottom - window.top};
    CreateSizeGrip();
    return result;
}

void CLayoutDialog::CreateSizeGrip()
{
    const SIZE client = ClientSize();
    const int width = ::GetSystemMetrics(SM_CXVSCROLL);
    const int height = ::GetSystemMetrics(SM_CYHSCROLL);
    m_sizeGrip = ::CreateWindowExA(0, "SCROLLBAR", "",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEGRIP |
                                       SBS_SIZEBOXBOTTOMRIGHTALIGN,
                                   client.cx - width, client.cy - height, width, height, m_hWnd,
                                   nullptr, ::GetModuleHandleA(nullptr), nullptr);
    // Drawn last, over whatever control reaches into the corner.
    ::SetWindowPos(m_sizeGrip, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_anchors.push_back({m_sizeGrip, {client.cx - width, client.cy - height, client.cx, client.cy},
                         client, Anchor::BottomRight, Anchor::BottomRight});
}

SIZE CLayoutDialog::ClientSize() const
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    return {client.right, client.bottom};
}

bool CLayoutDialog::AddAnchor(int controlId, Anchor topLeft, Anchor bottomRight)
{
    const HWND control = GetDlgItem(controlId);
    if (!control || topLeft.none)
        return false;
    RECT start;
    ::GetWindowRect(control, &start);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&start), 2);
    m_anchors.push_back({control, start, ClientSize(), topLeft,
                         bottomRight.none ? topLeft : bottomRight});
    return true;
}

void CLayoutDialog::OnSize(UINT type, int cx, int cy)
{
    if (type == SIZE_MINIMIZED || m_anchors.empty())
        return;
    // A maximised window cannot be sized by its grip.
    if (m_sizeGrip)
        ::ShowWindow(m_sizeGrip, type == SIZE_MAXIMIZED ? SW_HIDE : SW_SHOW);
    HDWP positions = ::BeginDeferWindowPos(static_cast<int>(m_anchors.size()));
    for (const AnchoredControl& a : m_anchors) {
        const LONG dx = cx - a.startClient.cx;
        const LONG dy = cy - a.startClient.cy;
        const LONG left = Follow(a.start.left, dx, a.topLeft.x);
        const LONG top = Follow(a.start.top, dy, a.topLeft.y);
        const LONG right = Follow(a.start.right, dx, a.bottomRight.x);
        const LONG bottom = Follow(a.start.bottom, dy, a.bottomRight.y);
        if (positions)
            positions = ::DeferWindowPos(positions, a.control, nullptr, left, top, right - left,
                                         bottom - top,
                                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    if (positions)
        ::EndDeferWindowPos(positions);
    // Group boxes and labels draw through to the dialog: repaint what moved.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CLayoutDialog::OnGetMinMaxInfo(MINMAXINFO& info)
{
    if (m_minimumSize.cx > 0)
        info.ptMinTrackSize = {m_minimumSize.cx, m_minimumSize.cy};
}
