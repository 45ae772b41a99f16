#include "app/AboutDlg.h"

#include "app/AppVersionInfo.h"
#include "framework/DataExchange.h"
#include "res/resource.h"

CAboutDlg::CAboutDlg(HWND parent) : CDialog(IDD_ABOUTBOX, parent) {}

BOOL CAboutDlg::OnInitDialog()
{
    m_versionText = CAppVersionInfo().GetVersionText();
    return CDialog::OnInitDialog();
}

void CAboutDlg::DoDataExchange(CDataExchange& dx)
{
    dx.Text(IDC_ABOUT_VERSION, m_versionText);
}
