#pragma once
#include "framework/GdiHolders.h"

// A dialog's push button that shows a small icon beside its caption.  The
// icon comes from the current resource handle and lives as long as this
// object.
class CIconButton
{
public:
    CIconButton() = default;
    virtual ~CIconButton() = default;
    CIconButton(const CIconButton&) = delete;
    CIconButton& operator=(const CIconButton&) = delete;

    bool Attach(HWND dialog, int buttonId, int iconId);
    HICON GetIcon() const { return m_icon.Get(); }

private:
    CIconHolder m_icon;
};
