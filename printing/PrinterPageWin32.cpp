#include "printing/PrinterPage.h"

#include <commdlg.h>

#include <cstdlib>

CPrinterPage::CPrinterPage() : m_dc(nullptr), m_font(nullptr), m_previousFont(nullptr), m_docStarted(false)
{
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS |
                   PD_HIDEPRINTTOFILE | PD_USEDEVMODECOPIESANDCOLLATE;
    if (PrintDlgA(&dialog))
        m_dc = dialog.hDC;
    // The dialog leaves its device settings to the caller.
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
}

CPrinterPage::~CPrinterPage()
{
    if (m_docStarted)
        AbortDoc(m_dc);
    if (m_previousFont)
        SelectObject(m_dc, m_previousFont);
    if (m_font)
        DeleteObject(m_font);
    if (m_dc)
        DeleteDC(m_dc);
}

bool CPrinterPage::StartDocument(const char* name)
{
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = name;
    m_docStarted = StartDocA(m_dc, &info) > 0;
    return m_docStarted && StartPage(m_dc) > 0;
}

void CPrinterPage::SelectTicketFont(const std::string& face, int pointSize, int weight, bool italic,
                                    bool underline)
{
    SetMapMode(m_dc, MM_LOMETRIC);
    LOGFONTA font{};
    font.lfHeight = -PointsToLogical(pointSize);
    font.lfWeight = weight;
    font.lfItalic = italic;
    font.lfUnderline = underline;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, face.c_str(), LF_FACESIZE);
    m_font = CreateFontIndirectA(&font);
    m_previousFont = SelectObject(m_dc, m_font);
}

TEXTMETRICA CPrinterPage::Metrics() const
{
    TEXTMETRICA metrics{};
    GetTextMetricsA(m_dc, &metrics);
    return metrics;
}

bool CPrinterPage::DrawLine(int x, int y, const std::string& text)
{
    return TextOutA(m_dc, x, y, text.c_str(), static_cast<int>(text.size())) != FALSE;
}

// Some drivers reset the device context at a new page: the mapping mode and
// the font are set again.
void CPrinterPage::NextPage()
{
    EndPage(m_dc);
    StartPage(m_dc);
    SetMapMode(m_dc, MM_LOMETRIC);
    SelectObject(m_dc, m_font);
}

bool CPrinterPage::EndDocument()
{
    m_docStarted = false;
    if (EndPage(m_dc) <= 0)
    {
        AbortDoc(m_dc);
        return false;
    }
    EndDoc(m_dc);
    return true;
}

// A point size in the page's logical units, rounded as the device does.
int CPrinterPage::PointsToLogical(int pointSize) const
{
    POINT size{0, MulDiv(GetDeviceCaps(m_dc, LOGPIXELSY), pointSize, 72)};
    POINT origin{0, 0};
    DPtoLP(m_dc, &size, 1);
    DPtoLP(m_dc, &origin, 1);
    return std::abs(size.y - origin.y);
}
