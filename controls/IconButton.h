#pragma once
#include <windows.h>

// A dialog's push button that shows a small icon beside its caption.  The
// icon comes from the current resource handle and lives as long as this
// object.
class CIconButton
{
public:
    CIconButton() = default;
    virtual ~CIconButton();
    CIconButton(const CIconButton&) = delete;
    CIconButton& operator=(const CIconButton&) = delete;

    bool Attach(HWND dialog, int buttonId, int iconId);
    HICON GetIcon() const { return m_icon; }

private:
    HICON m_icon = nullptr;
};
