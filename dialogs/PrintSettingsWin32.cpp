// The print settings' own dialog run; the rest of CPrintSettings is portable.
#include "printing/PrintSettings.h"

#include "dialogs/PrintSetupDlg.h"

unsigned CPrintSettings::EditSettings()
{
    CPrintSetupDlg dialog(nullptr);
    dialog.CopyFrom(*this);
    if (dialog.DoModal() != IDOK)
        return Failure;
    dialog.CopyTo(*this);
    ExchangeIni(false);
    return 0;
}
