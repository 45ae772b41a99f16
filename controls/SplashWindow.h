#pragma once
#include "framework/Window.h"

// A borderless window that shows a bitmap of the current resources,
// centred on a given window, and closes itself when its time is up.  There
// is at most one; it belongs to this class, which frees it when it is
// closed or replaced, and at the latest when the program ends, so the
// caller never holds a pointer to it.  All calls belong on the thread of
// the program's windows.
class CSplashWindow : public CWindow
{
public:
    ~CSplashWindow() override;

    // Whether ShowSplashScreen shows anything (the command line decides).
    static void EnableSplashScreen(bool enable);
    // False when disabled, when one is already showing, or without the bitmap.
    static bool ShowSplashScreen(HWND parent, int bitmapId, UINT milliseconds);
    static bool IsShowing();
    static void Close();
    // For the application's message filter: a key or mouse press while the
    // splash shows closes it; true means the message is used up.
    static bool CloseOnInput(const MSG& message);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CSplashWindow() = default;
    bool Open(HWND parent, int bitmapId, UINT milliseconds);
    void Paint(HDC dc) const;

    HBITMAP m_bitmap = nullptr;
};
