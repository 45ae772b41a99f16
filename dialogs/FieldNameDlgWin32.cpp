#include "dialogs/FieldNameDlg.h"

#include "framework/Application.h"
#include "framework/DataExchange.h"
#include "res/resource.h"

CFieldNameDlg::CFieldNameDlg(HWND parent) : CDialog(IDD_FIELD_NAME, parent) {}

void CFieldNameDlg::DoDataExchange(CDataExchange& dx)
{
    dx.Text(IDC_FIELD_NAME, m_fieldName, MaximumLength);
}

void CFieldNameDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    if (m_fieldName.find_first_of(m_refused) != std::string::npos) {
        CApplication::MessageBox(IDS_FIELD_NAME_REFUSED, MB_OK | MB_ICONEXCLAMATION, m_hWnd);
        ::SetFocus(GetDlgItem(IDC_FIELD_NAME));
        return;
    }
    EndDialog(IDOK);
}
