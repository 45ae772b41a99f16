#pragma once
#include "acquisition/SerialPortConfig.h"
#include "controls/IconButton.h"
#include "controls/XPGroupBox.h"
#include "framework/Dialog.h"

#include <string>

// "Serial port setup": edits the line settings record of one COM port.
class CSerialSetupDlg : public CDialog
{
public:
    struct ListBinding;

    explicit CSerialSetupDlg(HWND parent);

    // Filled by the caller before DoModal; after IDOK, the edited record.
    // Cancel leaves it as it was.
    SerialPortConfig m_config{};

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void FillLists() const;
    void SelectRecordValues() const;
    int SelectedIndex(int comboId) const;
    template <typename Field>
    void TakeSelection(const ListBinding& list, Field& field) const;

    std::string m_portName;
    CIconButton m_okButton;
    CIconButton m_cancelButton;
    CXPGroupBox m_group;
};
