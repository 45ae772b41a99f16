#pragma once
#include <windows.h>

// What a mouse message on the tray icon does.
class CTrayIconAction
{
public:
    explicit CTrayIconAction(UINT mouseMessage) : m_mouseMessage(mouseMessage) {}
    virtual ~CTrayIconAction() = default;
    CTrayIconAction(const CTrayIconAction&) = delete;
    CTrayIconAction& operator=(const CTrayIconAction&) = delete;

    UINT MouseMessage() const { return m_mouseMessage; }
    virtual void Execute() = 0;

private:
    UINT m_mouseMessage;
};

// A double click shows the application's main window.
class CShowWindowAction : public CTrayIconAction
{
public:
    CShowWindowAction() : CTrayIconAction(WM_LBUTTONDBLCLK) {}
    void Execute() override;
};

// The right button opens the tray menu (130) at the cursor; its commands
// go to the application's main window.
class CTrayMenuAction : public CTrayIconAction
{
public:
    CTrayMenuAction() : CTrayIconAction(WM_RBUTTONDOWN) {}
    void Execute() override;
};
