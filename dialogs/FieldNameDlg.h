#pragma once
#include "framework/Dialog.h"

#include <string>

// "Get field name": renames one field of the setup dialog's field list.
class CFieldNameDlg : public CDialog
{
public:
    static constexpr int MaximumLength = 20;

    explicit CFieldNameDlg(HWND parent);

    // Set before DoModal; after IDOK, the edited name.
    std::string m_fieldName;
    // Characters a name may not hold: they would split the header line
    // into more columns than the lines below it.
    std::string m_refused = "\"";

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;
};
