#include "controls/FrameList.h"

// The list lets go of the font before the font goes.
CFrameList::~CFrameList()
{
    if (m_font.Get() && ::IsWindow(m_list))
        Send(WM_SETFONT, 0, FALSE);
}

void CFrameList::Attach(HWND dialog, int id)
{
    m_list = ::GetDlgItem(dialog, id);
}

void CFrameList::UseFixedFont(const char* face, int height)
{
    m_font.Reset(::CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               FIXED_PITCH | FF_MODERN, face));
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), TRUE);
}

LRESULT CFrameList::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_list, message, wParam, lParam);
}

int CFrameList::Count() const
{
    return static_cast<int>(Send(LB_GETCOUNT));
}

void CFrameList::Append(const std::string& text)
{
    HoldRedraw();
    const LRESULT index = Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0)
        m_lineToSelect = static_cast<int>(index);
}

void CFrameList::KeepAtMost(int lines)
{
    for (int count = Count(); count > lines; --count)
    {
        HoldRedraw();
        Send(LB_DELETESTRING, 0);
        m_lineToSelect = m_lineToSelect > 0 ? m_lineToSelect - 1 : -1;
    }
}

void CFrameList::Clear()
{
    Send(LB_RESETCONTENT);
    m_lineToSelect = -1;
}

void CFrameList::HoldRedraw()
{
    if (m_redrawHeld)
        return;
    Send(WM_SETREDRAW, FALSE);
    m_redrawHeld = true;
}

void CFrameList::CatchUp()
{
    if (!m_redrawHeld)
        return;
    m_redrawHeld = false;
    Send(WM_SETREDRAW, TRUE);
    Send(LB_SETCURSEL, static_cast<WPARAM>(m_lineToSelect));
    // Painted now: the next line holds the redraw off again before a
    // WM_PAINT could arrive.
    ::RedrawWindow(m_list, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
}
