#pragma once
#include "framework/GdiHolders.h"

#include <string>
#include <vector>

// The main window's list of received frames and link lines, a list box of
// the dialog template, which holds at most `lineLimit` lines.  Each line
// added, and more so each one selected, makes a list box scroll and redraw
// its scroll bar at once, which costs far more than storing a frame: lines
// come in batches, added with the redraw held off, and the list catches up
// in one go with the newest line selected.  Used on the window's thread
// only.
class CFrameList
{
public:
    explicit CFrameList(int lineLimit) : m_lineLimit(lineLimit) {}
    ~CFrameList();
    CFrameList(const CFrameList&) = delete;
    CFrameList& operator=(const CFrameList&) = delete;

    void Attach(HWND dialog, int id);
    // A fixed-pitch font, so that the fields of the frames line up.
    void UseFixedFont(const char* face, int height);
    HFONT Font() const { return m_font.Get(); }

    // Adds the lines at the end, the oldest lines going as the limit needs.
    void Add(const std::vector<std::string>& lines);
    void Clear();

private:
    int Count() const;
    void KeepAtMost(int lines);
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    const int m_lineLimit;
    HWND m_list = nullptr;
    CFont m_font;
};
