#include "dialogs/PrintSetupDlg.h"

#include "framework/DataExchange.h"
#include "res/resource.h"

#include <algorithm>

namespace
{
// The controls of each print line, in job order.
struct LineControls
{
    int checkId;
    int xId;
    int yId;
};

const LineControls kLineControls[CPrintSettings::LineCount] = {
    {IDC_PRINT_SERIAL, IDC_PRINT_SERIAL_X, IDC_PRINT_SERIAL_Y},
    {IDC_PRINT_OPERATOR, IDC_PRINT_OPERATOR_X, IDC_PRINT_OPERATOR_Y},
    {IDC_PRINT_DATETIME, IDC_PRINT_DATETIME_X, IDC_PRINT_DATETIME_Y},
    {IDC_PRINT_DESCRIPTION, IDC_PRINT_DESCRIPTION_X, IDC_PRINT_DESCRIPTION_Y},
    {IDC_PRINT_FRAME, IDC_PRINT_FRAME_X, IDC_PRINT_FRAME_Y},
};

// The pipeline prints no more copies than this; positions are dots or
// tenths of a millimetre, never negative.
const int kMaximumCopies = 100;
const int kMaximumPosition = 9999;
const char* const kPrintingTypes[] = {"Ticket-A4", "EPL2 Label", "ZPL2 Label"};
const char* const kCharacterSizes[] = {"1", "2", "3", "4", "5", "6", ""};
}

CPrintSetupDlg::CPrintSetupDlg(HWND parent) : CDialog(IDD_PRINT_SETUP, parent) {}

void CPrintSetupDlg::CopyFrom(const CPrintSettings& settings)
{
    m_printingType = settings.m_printingType;
    m_numberOfCopies = settings.m_numberOfCopies;
    m_upperMargin = settings.m_upperMargin;
    m_leftMargin = settings.m_leftMargin;
    m_labelCarSize = settings.m_labelCarSize;
    std::copy(std::begin(settings.m_lines), std::end(settings.m_lines), std::begin(m_lines));
}

void CPrintSetupDlg::CopyTo(CPrintSettings& settings) const
{
    settings.m_printingType = m_printingType;
    settings.m_numberOfCopies = m_numberOfCopies;
    settings.m_upperMargin = m_upperMargin;
    settings.m_leftMargin = m_leftMargin;
    settings.m_labelCarSize = m_labelCarSize;
    std::copy(std::begin(m_lines), std::end(m_lines), std::begin(settings.m_lines));
}

BOOL CPrintSetupDlg::OnInitDialog()
{
    m_okButton.Attach(m_hWnd, IDOK, IDI_OK);
    m_cancelButton.Attach(m_hWnd, IDCANCEL, IDI_CANCEL);
    m_typeGroup.Attach(m_hWnd, IDC_PRINT_TYPE_GROUP);
    m_fieldsGroup.Attach(m_hWnd, IDC_PRINT_FIELDS_GROUP);
    FillLists();
    UpdateData(false);
    EnableForPrintingType();
    return TRUE;
}

void CPrintSetupDlg::FillLists() const
{
    for (const char* item : kPrintingTypes)
        SendDlgItemMessage(IDC_PRINT_TYPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    for (const char* item : kCharacterSizes)
        SendDlgItemMessage(IDC_PRINT_CHAR_SIZE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

void CPrintSetupDlg::DoDataExchange(CDataExchange& dx)
{
    dx.IntRange(IDC_PRINT_COPIES, m_numberOfCopies, 1, kMaximumCopies);
    dx.ComboIndex(IDC_PRINT_TYPE, m_printingType);
    dx.IntRange(IDC_PRINT_UPPER_MARGIN, m_upperMargin, 0, 100);
    dx.IntRange(IDC_PRINT_LEFT_MARGIN, m_leftMargin, 0, 100);
    dx.ComboIndex(IDC_PRINT_CHAR_SIZE, m_labelCarSize);
    for (int i = 0; i < CPrintSettings::LineCount; ++i) {
        dx.Check(kLineControls[i].checkId, m_lines[i].enabled);
        dx.IntRange(kLineControls[i].xId, m_lines[i].x, 0, kMaximumPosition);
        dx.IntRange(kLineControls[i].yId, m_lines[i].y, 0, kMaximumPosition);
    }
}

bool CPrintSetupDlg::OnCommand(int id, int code, HWND)
{
    if (id != IDC_PRINT_TYPE || code != CBN_SELCHANGE)
        return false;
    UpdateData(true);
    EnableForPrintingType();
    return true;
}

void CPrintSetupDlg::EnableForPrintingType()
{
    // The list itself decides: a value refused above must not leave the
    // controls enabled for the type that was selected before.
    const bool ticket =
        SendDlgItemMessage(IDC_PRINT_TYPE, CB_GETCURSEL) == CPrintSettings::TicketA4;
    EnableDlgItem(IDC_PRINT_UPPER_MARGIN, ticket);
    EnableDlgItem(IDC_PRINT_LEFT_MARGIN, ticket);
    EnableDlgItem(IDC_PRINT_CHAR_SIZE, !ticket);
    for (const LineControls& line : kLineControls) {
        EnableDlgItem(line.xId, !ticket);
        EnableDlgItem(line.yId, !ticket);
    }
}
