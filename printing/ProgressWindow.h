#pragma once
// Windows build only: a window of the user interface.
#include "framework/Window.h"

#include <string>

// A small topmost popup that shows how far a longer operation has got: a
// caption with the percentage, lines of text, a progress bar and a Cancel
// button.  Not modal; it never takes the focus.  The caller steps it and,
// between steps, lets it dispatch the thread's messages (PeekAndPump) and
// then reads IsCancelled.  It belongs to the thread that creates it.
class CProgressWindow final : public CWindow
{
public:
    enum ControlIds { CancelButtonId = 10, TextId = 11, ProgressBarId = 12 };

    // owner null: the application's main window when this thread made it.
    // textLines of 0 or less give 2.  A cancellable window shows the bar and
    // the percentage and enables Cancel.
    CProgressWindow(HWND owner, const std::string& title, bool smooth, bool cancellable,
                    int textLines, int width, int fontHeight);
    ~CProgressWindow() override;

    void SetRange(int lower, int upper, int step);
    // printf-style; the result is cut to 511 characters.
    void SetText(const char* format, ...);
    int StepIt();
    // Shows a hidden window; returns the bar's previous position (0 when
    // not cancellable).
    int SetPos(int position);
    // Dispatches the thread's waiting messages until none is left or the
    // window is cancelled; with cancelOnEscape the Escape key cancels.
    void PeekAndPump(bool cancelOnEscape);
    bool IsCancelled() const { return m_cancelled; }
    void Hide();
    void Show();

    const std::string& GetText() const { return m_text; }
    void SetRememberPosition(bool remember) { m_rememberPosition = remember; }

    // Profile section and values of the remembered position.
    static const char* const ProfileSection;
    static const char* const WindowClassName;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void OnCancel();
    void CreateFont(int fontHeight);
    void CreateChildren(bool smooth);
    void Layout();
    void PlaceWindow(HWND owner);
    void SavePosition();

    HWND m_textWnd;
    HWND m_progressWnd;
    HWND m_cancelWnd;
    HFONT m_font;
    std::string m_title;
    std::string m_cancelText;
    std::string m_text;
    int m_textLines;
    int m_width;
    int m_fontHeight;
    int m_lower;
    int m_upper;
    int m_step;
    int m_position;
    int m_shownPercent;
    bool m_cancellable;
    bool m_cancelled;
    bool m_rememberPosition;
};
