#include "dialogs/SerialSetupDlg.h"

#include "dialogs/SerialChoices.h"
#include "framework/DataExchange.h"
#include "res/resource.h"

#include <cstring>

struct CSerialSetupDlg::ListBinding
{
    int comboId;
    const std::vector<SerialChoices::Choice>& (*choices)();
};

namespace
{
const CSerialSetupDlg::ListBinding kLists[] = {
    {IDC_SERIAL_BAUD, SerialChoices::BaudRates},
    {IDC_SERIAL_DATA_BITS, SerialChoices::DataBits},
    {IDC_SERIAL_STOP_BITS, SerialChoices::StopBits},
    {IDC_SERIAL_PARITY, SerialChoices::Parities},
    {IDC_SERIAL_HANDSHAKE, SerialChoices::Handshakes},
};
}

CSerialSetupDlg::CSerialSetupDlg(HWND parent) : CDialog(IDD_SERIAL_SETUP, parent) {}

BOOL CSerialSetupDlg::OnInitDialog()
{
    m_okButton.Attach(m_hWnd, IDOK, IDI_OK);
    m_cancelButton.Attach(m_hWnd, IDCANCEL, IDI_CANCEL);
    m_group.Attach(m_hWnd, IDC_SERIAL_GROUP);
    m_group.SetIcon(IDI_SETUP);
    FillLists();
    m_portName.assign(m_config.portName, strnlen(m_config.portName, sizeof m_config.portName));
    SelectRecordValues();
    SetDlgItemText(IDC_SERIAL_PORT_NAME, m_portName);
    return TRUE;
}

void CSerialSetupDlg::FillLists() const
{
    for (const CSerialSetupDlg::ListBinding& list : kLists)
        for (const SerialChoices::Choice& choice : list.choices())
            SendDlgItemMessage(list.comboId, CB_ADDSTRING, 0,
                               reinterpret_cast<LPARAM>(choice.text));
}

void CSerialSetupDlg::SelectRecordValues() const
{
    const int values[] = {static_cast<int>(m_config.baudRate), m_config.dataBits,
                          m_config.stopBits, m_config.parity, m_config.handshake};
    for (size_t i = 0; i < sizeof values / sizeof values[0]; ++i)
        SendDlgItemMessage(kLists[i].comboId, CB_SETCURSEL,
                           static_cast<WPARAM>(SerialChoices::IndexOfValue(kLists[i].choices(),
                                                                           values[i])));
}

int CSerialSetupDlg::SelectedIndex(int comboId) const
{
    return static_cast<int>(SendDlgItemMessage(comboId, CB_GETCURSEL));
}

void CSerialSetupDlg::OnOK()
{
    TakeSelection(kLists[0], m_config.baudRate);
    TakeSelection(kLists[1], m_config.dataBits);
    TakeSelection(kLists[2], m_config.stopBits);
    TakeSelection(kLists[3], m_config.parity);
    TakeSelection(kLists[4], m_config.handshake);
    EndDialog(IDOK);
}

template <typename Field>
void CSerialSetupDlg::TakeSelection(const ListBinding& list, Field& field) const
{
    // A list left without a selection keeps the record's value.
    field = static_cast<Field>(SerialChoices::ValueAt(
        list.choices(), SelectedIndex(list.comboId), static_cast<int>(field)));
}
