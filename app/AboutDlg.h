#pragma once
#include "controls/ColorLabel.h"
#include "framework/Dialog.h"

#include <string>

// "About Quorbel ": the maker and the program's version text.
class CAboutDlg : public CDialog
{
public:
    explicit CAboutDlg(HWND parent);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    std::string m_versionText;
    CColorLabel m_label;
};
