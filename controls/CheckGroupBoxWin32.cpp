#include "controls/CheckGroupBox.h"

#include "framework/GdiHolders.h"

namespace
{
SIZE TextSize(HWND window, const std::string& text)
{
    SIZE size{};
    const HDC dc = ::GetDC(window);
    {
        const CSelection font(dc, reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0)));
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    ::ReleaseDC(window, dc);
    return size;
}
}

bool CCheckGroupBox::Attach(HWND dialog, int groupId)
{
    if (!SubclassDlgItem(groupId, dialog))
        return false;
    const std::string caption = GetText(m_hWnd);
    const SIZE text = TextSize(m_hWnd, caption);
    const int box = ::GetSystemMetrics(SM_CXMENUCHECK);
    m_check = ::CreateWindowExA(0, "BUTTON", caption.c_str(),
                                WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 6, 0,
                                text.cx + box + 10, text.cy + 2, m_hWnd, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
    if (!m_check)
        return false;
    ::SendMessageA(m_check, WM_SETFONT, ::SendMessageA(m_hWnd, WM_GETFONT, 0, 0), FALSE);
    ::SetWindowTextA(m_hWnd, "");
    ::EnableWindow(m_check, ::IsWindowEnabled(m_hWnd));
    return true;
}

void CCheckGroupBox::SetCheck(bool checked)
{
    ::SendMessageA(m_check, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    EnableContents(checked);
}

bool CCheckGroupBox::GetCheck() const
{
    return ::SendMessageA(m_check, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CCheckGroupBox::EnableContents(bool enable) const
{
    const HWND dialog = ::GetParent(m_hWnd);
    RECT group;
    ::GetWindowRect(m_hWnd, &group);
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        RECT overlap;
        ::GetWindowRect(child, &rect);
        if (child != m_hWnd && ::IntersectRect(&overlap, &group, &rect))
            ::EnableWindow(child, enable ? TRUE : FALSE);
    }
}

LRESULT CCheckGroupBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && reinterpret_cast<HWND>(lParam) == m_check
        && HIWORD(wParam) == BN_CLICKED) {
        EnableContents(GetCheck());
        return 0;
    }
    if (message == WM_ENABLE && m_check)
        ::EnableWindow(m_check, static_cast<BOOL>(wParam));
    return Default(message, wParam, lParam);
}
