#include "app/TrayIcon.h"

#include "app/TrayIconAction.h"

#include <shellapi.h>

#include <utility>

namespace
{
// The first shell layout: the tip holds 63 characters and its terminator.
NOTIFYICONDATAA IconData(HWND window, UINT iconId)
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = iconId;
    return data;
}
}

UINT CTrayIcon::TaskbarCreatedMessage()
{
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

UINT CTrayIcon::NotifyIconMessage()
{
    static const UINT message = ::RegisterWindowMessageA("NotifyIcon");
    return message;
}

CTrayIcon::CTrayIcon(HWND window, UINT iconId, HICON icon, const std::string& tooltip,
                     std::vector<CTrayIconAction*> actions)
    : m_window(window), m_iconId(iconId), m_icon(icon), m_tooltip(tooltip),
      m_actions(std::move(actions))
{
}

CTrayIcon::~CTrayIcon()
{
    Remove();
}

BOOL CTrayIcon::Add()
{
    NOTIFYICONDATAA data = IconData(m_window, m_iconId);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = NotifyIconMessage();
    data.hIcon = m_icon;
    ::lstrcpynA(data.szTip, m_tooltip.c_str(), 64);
    return ::Shell_NotifyIconA(NIM_ADD, &data);
}

BOOL CTrayIcon::Remove()
{
    NOTIFYICONDATAA data = IconData(m_window, m_iconId);
    return ::Shell_NotifyIconA(NIM_DELETE, &data);
}

LRESULT CTrayIcon::OnTaskbarCreated(WPARAM, LPARAM)
{
    Add();
    return 0;
}

void CTrayIcon::OnTrayNotify(WPARAM wParam, LPARAM lParam)
{
    if (wParam != m_iconId)
        return;
    for (CTrayIconAction* action : m_actions)
        if (static_cast<UINT>(lParam) == action->MouseMessage())
            action->Execute();
}
