#include "controls/LedButton.h"

#include "framework/Application.h"

namespace
{
const int kIconSize = 16;
const int kTextGap = 4;
// Carries a state change made on another thread to the lamp's own thread.
const UINT kSetStateMessage = WM_APP + 0x125;

bool IsInput(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEMOVE) ||
           message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR ||
           message == BM_CLICK || message == BM_SETSTATE;
}
}


bool CLedButton::Attach(HWND dialog, int id)
{
    if (!COwnerDrawControl::Attach(dialog, id))
        return false;
    // An indicator is no stop on the Tab key's round.
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, ::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & ~WS_TABSTOP);
    return true;
}

bool CLedButton::SetIcons(int offIconId, int onIconId)
{
    m_icons[0].Reset(CApplication::LoadSmallIcon(static_cast<UINT>(offIconId)));
    m_icons[1].Reset(CApplication::LoadSmallIcon(static_cast<UINT>(onIconId)));
    Redraw();
    return m_icons[0].Get() && m_icons[1].Get();
}

void CLedButton::SetReturnTimer(UINT timerId, UINT milliseconds, int stateAfter)
{
    m_timerId = timerId;
    m_returnMs = milliseconds;
    m_stateAfter = stateAfter;
}

void CLedButton::SetState(int state)
{
    if (m_hWnd && ::GetWindowThreadProcessId(m_hWnd, nullptr) != ::GetCurrentThreadId())
        ::PostMessageA(m_hWnd, kSetStateMessage, static_cast<WPARAM>(state), 0);
    else
        ApplyState(state);
}

void CLedButton::ApplyState(int state)
{
    // A lamp already lit is switched on with every frame: only a change
    // needs painting, while the timer below restarts either way.
    if (state != m_state) {
        m_state = state;
        Redraw();
    }
    if (!m_hWnd || !m_timerId)
        return;
    // SetTimer with the same id replaces the running timer: the time restarts.
    if (state != m_stateAfter)
        ::SetTimer(m_hWnd, m_timerId, m_returnMs, nullptr);
    else
        ::KillTimer(m_hWnd, m_timerId);
}

LRESULT CLedButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && m_timerId && wParam == m_timerId) {
        ApplyState(m_stateAfter);
        return 0;
    }
    if (message == kSetStateMessage) {
        ApplyState(static_cast<int>(wParam));
        return 0;
    }
    if (message == WM_GETDLGCODE)
        return DLGC_STATIC;
    if (IsInput(message))
        return 0;
    return COwnerDrawControl::WindowProc(message, wParam, lParam);
}

void CLedButton::Paint(HDC dc, const RECT& rect, UINT)
{
    ::FillRect(dc, &rect, ParentBackground(dc));
    const HICON icon = m_icons[m_state == 0 ? 0 : 1].Get();
    const int iconTop = rect.top + (rect.bottom - rect.top - kIconSize) / 2;
    if (icon)
        ::DrawIconEx(dc, rect.left, iconTop, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);

    const std::string caption = GetText(m_hWnd);
    RECT textRect{rect.left + kIconSize + kTextGap, rect.top, rect.right, rect.bottom};
    const CSelection font(dc, Font());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(::IsWindowEnabled(m_hWnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}
