#pragma once
#include "controls/OwnerDrawControl.h"
#include "framework/GdiHolders.h"

#include <atomic>

// An indicator lamp on a dialog's button control: the icon of its state
// with the button's caption beside it.  It takes no clicks and no focus.
// With a return timer, switching away from the resting state starts a timer
// on the lamp's own window that brings it back; switching again before it
// runs out starts the time anew.  SetState may be called from any thread:
// from another thread it is carried out on the window's thread.
class CLedButton : public COwnerDrawControl
{
public:
    CLedButton() = default;

    bool Attach(HWND dialog, int id);
    // 16x16 icons of the current resources for state 0 and state 1.
    bool SetIcons(int offIconId, int onIconId);
    void SetReturnTimer(UINT timerId, UINT milliseconds, int stateAfter);
    void SetState(int state);
    int GetState() const { return m_state; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc, const RECT& rect, UINT state) override;

private:
    void ApplyState(int state);

    CIconHolder m_icons[2];
    std::atomic<int> m_state{0};
    UINT m_timerId = 0;
    UINT m_returnMs = 0;
    int m_stateAfter = 0;
};
