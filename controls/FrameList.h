#pragma once
#include "framework/GdiHolders.h"

#include <string>

// The main window's list of received frames and link lines, a list box of
// the dialog template.  Each line added, and more so each one selected,
// makes a list box scroll and redraw its scroll bar at once, which costs
// far more than storing a frame: the list holds its redraw off while lines
// come and catches up in one go (newest line selected) when told to.  Used
// on the window's thread only.
class CFrameList
{
public:
    CFrameList() = default;
    ~CFrameList();
    CFrameList(const CFrameList&) = delete;
    CFrameList& operator=(const CFrameList&) = delete;

    void Attach(HWND dialog, int id);
    HWND Handle() const { return m_list; }
    // A fixed-pitch font, so that the fields of the frames line up.
    void UseFixedFont(const char* face, int height);
    HFONT Font() const { return m_font.Get(); }

    int Count() const;
    // Adds the line at the end; the newest line is selected at CatchUp.
    void Append(const std::string& text);
    // Removes the oldest lines beyond `lines`.
    void KeepAtMost(int lines);
    void Clear();
    // Redraws what has changed since the last catch-up.
    void CatchUp();

private:
    void HoldRedraw();
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    HWND m_list = nullptr;
    CFont m_font;
    bool m_redrawHeld = false;
    int m_lineToSelect = -1;
};
