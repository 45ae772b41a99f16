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

void CFrameList::Add(const std::vector<std::string>& lines)
{
    if (lines.empty())
        return;
    // Of a batch longer than the list, only the lines it can show.
    const size_t limit = static_cast<size_t>(m_lineLimit);
    const size_t first = lines.size() > limit ? lines.size() - limit : 0;
    Send(WM_SETREDRAW, FALSE);
    KeepAtMost(static_cast<int>(limit - (lines.size() - first)));
    for (size_t i = first; i < lines.size(); ++i)
        Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lines[i].c_str()));
    Send(WM_SETREDRAW, TRUE);
    Send(LB_SETCURSEL, static_cast<WPARAM>(Count() - 1));
    ::RedrawWindow(m_list, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
}

void CFrameList::KeepAtMost(int lines)
{
    if (lines <= 0) {
        Clear();
        return;
    }
    for (int count = Count(); count > lines; --count)
        Send(LB_DELETESTRING, 0);
}

void CFrameList::Clear()
{
    Send(LB_RESETCONTENT);
}
