#include "dialogs/FieldNameDlg.h"

#include "framework/DataExchange.h"
#include "res/resource.h"

CFieldNameDlg::CFieldNameDlg(HWND parent) : CDialog(IDD_FIELD_NAME, parent) {}

void CFieldNameDlg::DoDataExchange(CDataExchange& dx)
{
    dx.Text(IDC_FIELD_NAME, m_fieldName, MaximumLength);
}
