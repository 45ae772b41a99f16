#include "printing/TicketLayout.h"

CTicketLayout::CTicketLayout(int lineHeight, int topMargin, int linesPerPage)
    : m_lineHeight(lineHeight), m_topMargin(topMargin),
      m_linesPerPage(linesPerPage > 0 ? linesPerPage : 1)
{
}

int CTicketLayout::FirstLineY() const
{
    return m_topMargin > 0 ? -(m_topMargin * m_lineHeight) : 0;
}

LinePlacement CTicketLayout::Place(int lineIndex) const
{
    const int row = lineIndex % m_linesPerPage;
    return LinePlacement{lineIndex / m_linesPerPage, FirstLineY() - row * m_lineHeight};
}

bool CTicketLayout::StartsNewPage(int lineIndex) const
{
    return lineIndex > 0 && lineIndex % m_linesPerPage == 0;
}

int CTicketLayout::PageCount(int lineCount) const
{
    return lineCount <= 0 ? 1 : (lineCount - 1) / m_linesPerPage + 1;
}
