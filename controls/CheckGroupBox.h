#pragma once
#include "framework/Window.h"

// A group box whose caption is a check box: checking it enables, and
// unchecking it disables, every control of the dialog whose rectangle
// overlaps the group.  The check box is a child of the group box, so
// disabling the group box itself freezes the check mark.
class CCheckGroupBox : public CWindow
{
public:
    // Takes over the group box `groupId` of `dialog` and moves its caption
    // into the check box.
    bool Attach(HWND dialog, int groupId);

    void SetCheck(bool checked);
    bool GetCheck() const;
    HWND GetCheckBox() const { return m_check; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void EnableContents(bool enable) const;

    HWND m_check = nullptr;
};
