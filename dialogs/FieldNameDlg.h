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

protected:
    void DoDataExchange(CDataExchange& dx) override;
};
