#pragma once
#include "controls/IconButton.h"
#include "controls/XPGroupBox.h"
#include "framework/Dialog.h"
#include "printing/PrintSettings.h"

// "Printing setup": the printing type, copies, ticket margins, label
// character size and the five print lines with their label positions.
class CPrintSetupDlg : public CDialog
{
public:
    explicit CPrintSetupDlg(HWND parent);

    // Copied in before DoModal and back out after IDOK.
    int m_printingType = 0;
    int m_numberOfCopies = 0;
    int m_upperMargin = 0;
    int m_leftMargin = 0;
    int m_labelCarSize = 0;
    PrintLine m_lines[CPrintSettings::LineCount] = {};

    void CopyFrom(const CPrintSettings& settings);
    void CopyTo(CPrintSettings& settings) const;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void FillLists() const;
    // Margins for a ticket, positions and character size for a label.
    void EnableForPrintingType();

    CIconButton m_okButton;
    CIconButton m_cancelButton;
    CXPGroupBox m_typeGroup;
    CXPGroupBox m_fieldsGroup;
};
