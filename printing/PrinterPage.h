#pragma once
// Windows build only: a printer device context.
#include <windows.h>

#include <string>

// The default printer's device context for one document: the ticket font
// selected, MM_LOMETRIC, pages started and ended on request.  Everything it
// acquires is released when it goes; a document still open is aborted.
class CPrinterPage
{
public:
    // Takes the default printer without showing a dialog.
    CPrinterPage();
    virtual ~CPrinterPage();
    CPrinterPage(const CPrinterPage&) = delete;
    CPrinterPage& operator=(const CPrinterPage&) = delete;

    bool HasPrinter() const { return m_dc != nullptr; }
    // StartDoc and the first StartPage; false when either fails.
    bool StartDocument(const char* name);
    // The face at pointSize in the page's units with the given attributes.
    void SelectTicketFont(const std::string& face, int pointSize, int weight, bool italic,
                          bool underline);
    TEXTMETRICA Metrics() const;
    bool DrawLine(int x, int y, const std::string& text);
    void NextPage();
    // EndPage and EndDoc; false when the page could not be ended, the
    // document is then aborted.
    bool EndDocument();

private:
    int PointsToLogical(int pointSize) const;

    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_previousFont;
    bool m_docStarted;
};
