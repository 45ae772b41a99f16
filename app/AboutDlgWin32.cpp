#include "app/AboutDlg.h"

#include "app/AppVersionInfo.h"
#include "framework/DataExchange.h"
#include "res/resource.h"

CAboutDlg::CAboutDlg(HWND parent) : CDialog(IDD_ABOUTBOX, parent) {}

BOOL CAboutDlg::OnInitDialog()
{
    m_versionText = CAppVersionInfo().GetVersionText();
    m_label.Attach(m_hWnd, IDC_ABOUT_VORL_LABEL);
    m_label.SetTextColor(RGB(0, 0, 255));
    return CDialog::OnInitDialog();
}

void CAboutDlg::DoDataExchange(CDataExchange& dx)
{
    dx.Text(IDC_ABOUT_VERSION, m_versionText);
}
