#pragma once
#include <windows.h>

#include <string>
#include <vector>

class CTrayIconAction;

// The program's icon in the notification area.  The shell reports mouse
// messages on it with NotifyIconMessage (wParam the icon ID, lParam the
// mouse message); the window that receives them hands them to OnTrayNotify,
// and TaskbarCreatedMessage to OnTaskbarCreated, which puts the icon back
// after the taskbar has been re-created.
class CTrayIcon
{
public:
    // Registered once per process; call both before the first window exists.
    static UINT TaskbarCreatedMessage();
    static UINT NotifyIconMessage();

    // The icon is shared, not destroyed; the action objects stay the
    // caller's and must outlive the tray icon.  Nothing is added yet.
    CTrayIcon(HWND window, UINT iconId, HICON icon, const std::string& tooltip,
              std::vector<CTrayIconAction*> actions);
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // The results of Shell_NotifyIconA.
    BOOL Add();
    BOOL Remove();

    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    // Runs each action whose mouse message is lParam, when wParam is this icon.
    void OnTrayNotify(WPARAM wParam, LPARAM lParam);

private:
    HWND m_window;
    UINT m_iconId;
    HICON m_icon;
    std::string m_tooltip;
    std::vector<CTrayIconAction*> m_actions;
};
