// The configuration store's setup dialog run; the rest of CReceiverSettings
// is portable.
#include "processing/ReceiverSettings.h"

#include "dialogs/SetupDlg.h"
#include "processing/IniFile.h"

int CReceiverSettings::RunSetupDialog(CPrintSettings* printSettings)
{
    CSetupDlg dialog(nullptr);
    dialog.m_settings = this;
    dialog.m_printSettings = printSettings;
    const int result = static_cast<int>(dialog.DoModal());
    if (result == IDOK) {
        ExchangeIni(false);
        CreateDirectoryPath(m_directory);
    }
    return result;
}
