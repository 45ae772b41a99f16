#include "controls/IconButton.h"

#include "framework/Application.h"

bool CIconButton::Attach(HWND dialog, int buttonId, int iconId)
{
    const HWND button = ::GetDlgItem(dialog, buttonId);
    if (!button || m_icon.Get())
        return false;
    m_icon.Reset(CApplication::LoadSmallIcon(static_cast<UINT>(iconId)));
    if (!m_icon.Get())
        return false;
    // Common controls 6 draw the image left of the caption.
    ::SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(m_icon.Get()));
    return true;
}
