#pragma once
#include "framework/GdiHolders.h"
#include "framework/Window.h"

// A group box drawn in the light, rounded style of the newer Windows look,
// with its caption in blue and an optional icon in front of it.  Only the
// frame and the caption are painted: the controls inside stay visible.
class CXPGroupBox : public CWindow
{
public:
    CXPGroupBox() = default;

    bool Attach(HWND dialog, int groupId);
    // A 16x16 icon of the current resources in front of the caption.
    bool SetIcon(int iconId);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc) const;

    CIconHolder m_icon;
};
