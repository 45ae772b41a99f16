#pragma once

// Where each line of a ticket goes: the page it is drawn on and its y in
// the printer's logical units (y grows upwards, so lines go down by
// negative y).  Every page starts like the first one and holds the full
// number of lines; a page is only begun for a line that is to be drawn.
struct LinePlacement
{
    int page;
    int y;
};

class CTicketLayout
{
public:
    CTicketLayout(int lineHeight, int topMargin, int linesPerPage);
    virtual ~CTicketLayout() = default;

    // Placement of the line with the zero-based index.
    LinePlacement Place(int lineIndex) const;
    // True when the line is the first of a page after the first page.
    bool StartsNewPage(int lineIndex) const;
    // Pages printed for a file of that many lines (an empty file still
    // sends one empty page).
    int PageCount(int lineCount) const;

private:
    int FirstLineY() const;

    int m_lineHeight;
    int m_topMargin;
    int m_linesPerPage;
};
