#include "dialogs/SetupDlg.h"

#include "acquisition/SerialPort.h"
#include "acquisition/SerialPortList.h"
#include "dialogs/DirectoryText.h"
#include "dialogs/FieldNameDlg.h"
#include "dialogs/IpAddressText.h"
#include "dialogs/SerialSetupDlg.h"
#include "framework/Application.h"
#include "framework/DataExchange.h"
#include "framework/IntegerText.h"
#include "printing/PrintSettings.h"
#include "processing/ReceiverSettings.h"
#include "res/resource.h"

#include <commctrl.h>
#include <shlobj.h>

#include <memory>

namespace
{
const char* const kSeparators[] = {"Tab", "Semicolon", "Comma", "Space"};
const char* const kLanguages[] = {"English", "French", "Italian"};
const char* const kInputPorts[] = {"RS232", "ETHERNET TCP"};
const int kStaticComPortCount = 40;
const int kSemicolon = 1;
const int kServerPortMinimum = 2000;
const int kServerPortMaximum = 4500;
const int kServerPortLowest = 1;
const int kServerPortHighest = 65535;

void AddItems(HWND combo, const char* const* items, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
}
}

CSetupDlg::CSetupDlg(HWND parent) : CDialog(IDD_SETUP, parent) {}

BOOL CSetupDlg::OnInitDialog()
{
    AttachControls();
    FillStaticLists();
    CopyFromSettings();
    SendDlgItemMessage(IDC_SETUP_OUTPUT_SEPARATOR, CB_SETCURSEL,
                       static_cast<WPARAM>(m_settings->m_outputSeparator));
    SendDlgItemMessage(IDC_SETUP_INPUT_SEPARATOR, CB_SETCURSEL,
                       static_cast<WPARAM>(m_settings->m_inputSeparator));
    FillComPortList();
    SelectConfiguredComPort();
    SendDlgItemMessage(IDC_SETUP_LANGUAGE, CB_SETCURSEL,
                       static_cast<WPARAM>(m_settings->m_language));
    SetUpFieldList();
    FillFieldList();
    // The caption's check mark follows the store type, never a click.
    ::EnableWindow(m_fieldsGroup.GetSafeHwnd(), FALSE);
    SendDlgItemMessage(IDC_SETUP_SERVER_PORT_SPIN, UDM_SETRANGE32, kServerPortMinimum,
                       kServerPortMaximum);
    m_serverPort = m_settings->GetServerPort();
    ShowServerIp();
    UpdateStoreTypeControls(m_storeType == CReceiverSettings::SelectedFields
                            || m_storeType == CReceiverSettings::SelectedFieldsDate);
    UpdateData(false);
    UpdatePrintSetupButton();
    UpdateInputPortControls();
    m_databaseGroup.Show(m_settings->m_database);
    return TRUE;
}

void CSetupDlg::AttachControls()
{
    m_fieldsGroup.Attach(m_hWnd, IDC_SETUP_FIELDS_GROUP);
    m_okButton.Attach(m_hWnd, IDOK, IDI_OK);
    m_cancelButton.Attach(m_hWnd, IDCANCEL, IDI_CANCEL);
    m_serialSetupButton.Attach(m_hWnd, IDC_SETUP_RS232_SETUP, IDI_SETUP);
    m_printSetupButton.Attach(m_hWnd, IDC_SETUP_PRINT_SETUP, IDI_PRINT);
}

void CSetupDlg::FillStaticLists() const
{
    AddItems(GetDlgItem(IDC_SETUP_INPUT_SEPARATOR), kSeparators, 4);
    AddItems(GetDlgItem(IDC_SETUP_OUTPUT_SEPARATOR), kSeparators, 4);
    AddItems(GetDlgItem(IDC_SETUP_LANGUAGE), kLanguages, 3);
    AddItems(GetDlgItem(IDC_SETUP_INPUT_PORT), kInputPorts, 2);
    for (int port = 1; port <= kStaticComPortCount; ++port) {
        const std::string item = "COM " + std::to_string(port);
        SendDlgItemMessage(IDC_SETUP_COM_PORT, CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(item.c_str()));
    }
}

void CSetupDlg::CopyFromSettings()
{
    m_hideAtStart = m_settings->m_hideAtStart;
    m_storeType = m_settings->m_storeType;
    m_hideButton = m_settings->m_hideButton;
    m_printOut = m_settings->m_printOut;
    m_reconnect = m_settings->m_reconnect;
    m_inputPort = m_settings->m_linkType == CReceiverSettings::LinkNeverConfigured
        ? CReceiverSettings::LinkSerial
        : m_settings->m_linkType;
    m_directory = m_settings->GetDirectory();
    m_fileExtCode = m_settings->m_fileExtCode;
}

void CSetupDlg::FillComPortList()
{
    std::unique_ptr<CSerialPortList> discovered;
    if (!m_portList)
        discovered = std::make_unique<CSerialPortList>();
    const CSerialPortList& ports = m_portList ? *m_portList : *discovered;
    m_discoveredPortCount = ports.GetCount();
    if (m_discoveredPortCount == 0)
        return;
    SendDlgItemMessage(IDC_SETUP_COM_PORT, CB_RESETCONTENT);
    for (int i = 0; i < m_discoveredPortCount; ++i)
        SendDlgItemMessage(IDC_SETUP_COM_PORT, CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(ports.GetAt(i)));
}

void CSetupDlg::SelectConfiguredComPort() const
{
    if (m_discoveredPortCount == 0) {
        SendDlgItemMessage(IDC_SETUP_COM_PORT, CB_SETCURSEL,
                           static_cast<WPARAM>(m_settings->m_comPort));
        return;
    }
    // Exact text: a prefix search would take COM10 for COM1.
    const std::string name = "COM" + std::to_string(m_settings->m_comPort + 1);
    const LRESULT index = SendDlgItemMessage(IDC_SETUP_COM_PORT, CB_FINDSTRINGEXACT,
                                             static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(name.c_str()));
    SendDlgItemMessage(IDC_SETUP_COM_PORT, CB_SETCURSEL, static_cast<WPARAM>(index));
}

void CSetupDlg::SetUpFieldList() const
{
    const HWND list = GetDlgItem(IDC_SETUP_FIELD_LIST);
    ListView_SetExtendedListViewStyle(list,
                                      LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 55;
    column.pszText = const_cast<char*>("On/Off");
    ::SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = 95;
    column.pszText = const_cast<char*>("Field Name");
    ::SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
}

void CSetupDlg::FillFieldList() const
{
    const HWND list = GetDlgItem(IDC_SETUP_FIELD_LIST);
    for (int row = 0; row < CReceiverSettings::FieldCount; ++row) {
        std::string number = std::to_string(row);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = number.data();
        ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        std::string name = m_settings->GetFieldName(row);
        item.iSubItem = 1;
        item.pszText = name.data();
        ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
        ListView_SetCheckState(list, row, m_settings->IsFieldInUse(row) != 0);
    }
}

void CSetupDlg::DoDataExchange(CDataExchange& dx)
{
    dx.Check(IDC_SETUP_HIDE_AT_START, m_hideAtStart);
    dx.Radio({IDC_SETUP_STORE_ORIGINAL, IDC_SETUP_STORE_ORIGINAL_DATE, IDC_SETUP_STORE_SELECTED,
              IDC_SETUP_STORE_SELECTED_DATE},
             m_storeType);
    dx.Check(IDC_SETUP_HIDE_BUTTON, m_hideButton);
    dx.Text(IDC_SETUP_DIRECTORY, m_directory);
    dx.Radio({IDC_SETUP_EXT_TXT, IDC_SETUP_EXT_CSV}, m_fileExtCode);
    dx.ComboIndex(IDC_SETUP_INPUT_PORT, m_inputPort);
    dx.Check(IDC_SETUP_PRINT_RESULT, m_printOut);
    dx.Text(IDC_SETUP_SERVER_PORT, m_serverPort);
    dx.Check(IDC_SETUP_RECONNECT, m_reconnect);
}

bool CSetupDlg::OnCommand(int id, int code, HWND)
{
    if (m_databaseGroup.OnCommand(id, code))
        return true;
    if (id == IDC_SETUP_INPUT_PORT && code == CBN_SELCHANGE) {
        UpdateData(true);
        UpdateInputPortControls();
        return true;
    }
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_SETUP_STORE_ORIGINAL:
    case IDC_SETUP_STORE_ORIGINAL_DATE:
        SendDlgItemMessage(IDC_SETUP_OUTPUT_SEPARATOR, CB_SETCURSEL, kSemicolon);
        UpdateStoreTypeControls(false);
        return true;
    case IDC_SETUP_STORE_SELECTED:
    case IDC_SETUP_STORE_SELECTED_DATE:
        UpdateStoreTypeControls(true);
        return true;
    case IDC_SETUP_BROWSE:
        BrowseForDirectory();
        return true;
    case IDC_SETUP_RS232_SETUP:
        RunSerialSetup();
        return true;
    case IDC_SETUP_PRINT_RESULT:
        UpdateData(true);
        UpdatePrintSetupButton();
        return true;
    case IDC_SETUP_PRINT_SETUP:
        RunPrintSetup();
        return true;
    default:
        return false;
    }
}

bool CSetupDlg::OnNotify(const NMHDR& header, LRESULT& result)
{
    if (header.idFrom != IDC_SETUP_FIELD_LIST || header.code != NM_DBLCLK)
        return false;
    EditSelectedFieldName();
    result = 0;
    return true;
}

void CSetupDlg::UpdateStoreTypeControls(bool selectedFields)
{
    m_fieldsGroup.SetCheck(selectedFields);
    EnableDlgItem(IDC_SETUP_OUTPUT_SEPARATOR, selectedFields);
}

void CSetupDlg::UpdateInputPortControls() const
{
    const bool serial = m_inputPort == CReceiverSettings::LinkSerial;
    EnableDlgItem(IDC_SETUP_COM_PORT, serial);
    EnableDlgItem(IDC_SETUP_RS232_SETUP, serial);
    EnableDlgItem(IDC_SETUP_SERVER_IP, !serial);
    EnableDlgItem(IDC_SETUP_SERVER_PORT, !serial);
}

void CSetupDlg::UpdatePrintSetupButton() const
{
    EnableDlgItem(IDC_SETUP_PRINT_SETUP, m_printOut != 0 && m_printSettings != nullptr);
}

int CSetupDlg::SelectedComPortIndex() const
{
    const LRESULT selected = SendDlgItemMessage(IDC_SETUP_COM_PORT, CB_GETCURSEL);
    // A configured port that is not in the list keeps its setting.
    if (selected == CB_ERR)
        return m_settings->m_comPort;
    if (m_discoveredPortCount == 0)
        return static_cast<int>(selected);
    return static_cast<int>(CSerialPortList::PortNumber(GetText(GetDlgItem(IDC_SETUP_COM_PORT))))
        - 1;
}

std::string CSetupDlg::FieldListText(int row, int column) const
{
    char buffer[CReceiverSettings::FieldNameSize] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendDlgItemMessage(IDC_SETUP_FIELD_LIST, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
    return buffer;
}

bool CSetupDlg::IsFieldChecked(int row) const
{
    return ListView_GetCheckState(GetDlgItem(IDC_SETUP_FIELD_LIST), row) != FALSE;
}

int CSetupDlg::CountCheckedFields() const
{
    int checked = 0;
    for (int row = 0; row < CReceiverSettings::FieldCount; ++row)
        checked += IsFieldChecked(row) ? 1 : 0;
    return checked;
}

void CSetupDlg::RunSerialSetup()
{
    const int index = SelectedComPortIndex();
    CSerialSetupDlg dialog(m_hWnd);
    dialog.m_config = *CSerialPort::GetConfig(index);
    if (dialog.DoModal() != IDOK)
        return;
    CSerialPort::SetConfig(index, dialog.m_config);
    CSerialPort::SaveConfig();
}

void CSetupDlg::RunPrintSetup()
{
    if (m_printSettings)
        m_printSettings->EditSettings();
}

void CSetupDlg::EditSelectedFieldName()
{
    const int row = static_cast<int>(SendDlgItemMessage(IDC_SETUP_FIELD_LIST, LVM_GETNEXTITEM,
                                                        static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0)
        return;
    CFieldNameDlg dialog(m_hWnd);
    dialog.m_fieldName = FieldListText(row, 1);
    const int separator = static_cast<int>(SendDlgItemMessage(IDC_SETUP_OUTPUT_SEPARATOR, CB_GETCURSEL));
    dialog.m_refused += CReceiverSettings::SeparatorText(separator);
    if (dialog.DoModal() != IDOK)
        return;
    LVITEMA item{};
    item.iSubItem = 1;
    item.pszText = dialog.m_fieldName.data();
    SendDlgItemMessage(IDC_SETUP_FIELD_LIST, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
}

void CSetupDlg::BrowseForDirectory()
{
    UpdateData(true);
    char previous[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, previous);

    BROWSEINFOA browse{};
    browse.hwndOwner = m_hWnd;
    browse.lpszTitle = m_directory.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
    if (const PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderA(&browse)) {
        char path[MAX_PATH] = {};
        if (::SHGetPathFromIDListA(chosen, path)) {
            m_directory = DirectoryText::FromChosenFolder(path);
            SetDlgItemText(IDC_SETUP_DIRECTORY, m_directory);
        }
        ::CoTaskMemFree(chosen);
    }
    ::SetCurrentDirectoryA(previous);
}

void CSetupDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    const bool needsFields = m_storeType == CReceiverSettings::SelectedFields
        || m_storeType == CReceiverSettings::SelectedFieldsDate;
    if (needsFields && CountCheckedFields() == 0) {
        CApplication::MessageBox(IDS_NO_FIELDS_SELECTED, MB_OK, m_hWnd);
        return;
    }
    if (m_inputPort == CReceiverSettings::LinkEthernet && !ServerPortIsValid())
        return;
    CReceiverSettings::Database database = m_settings->m_database;
    if (!m_databaseGroup.Read(database))
        return;
    WriteSettings();
    m_settings->m_database = database;
    EndDialog(IDOK);
}

// A port past 65535 would connect to another one (70000 to 4464).
bool CSetupDlg::ServerPortIsValid()
{
    int port = 0;
    if (IntegerText::Parse(m_serverPort, port) && port >= kServerPortLowest && port <= kServerPortHighest)
        return true;
    CApplication::MessageBox(IntegerText::RangePrompt(kServerPortLowest, kServerPortHighest),
                             MB_OK | MB_ICONEXCLAMATION, m_hWnd);
    ::SetFocus(GetDlgItem(IDC_SETUP_SERVER_PORT));
    return false;
}

void CSetupDlg::WriteSettings()
{
    for (int row = 0; row < CReceiverSettings::FieldCount; ++row) {
        m_settings->SetFieldInUse(row, IsFieldChecked(row) ? 1 : 0);
        m_settings->SetFieldName(row, FieldListText(row, 1));
    }
    m_settings->m_hideAtStart = m_hideAtStart;
    m_settings->m_storeType = m_storeType;
    m_settings->m_hideButton = m_hideButton;
    m_settings->m_fileExtCode = m_fileExtCode;
    m_settings->m_inputSeparator =
        static_cast<int>(SendDlgItemMessage(IDC_SETUP_INPUT_SEPARATOR, CB_GETCURSEL));
    m_settings->m_outputSeparator =
        static_cast<int>(SendDlgItemMessage(IDC_SETUP_OUTPUT_SEPARATOR, CB_GETCURSEL));
    m_settings->m_comPort = SelectedComPortIndex();
    m_settings->m_linkType = m_inputPort;
    m_settings->m_printOut = m_printOut;
    m_settings->m_reconnect = m_reconnect;
    m_settings->m_language = static_cast<int>(SendDlgItemMessage(IDC_SETUP_LANGUAGE, CB_GETCURSEL));
    m_settings->SetDirectory(m_directory);
    m_settings->SetServerPort(m_serverPort);
    m_settings->SetServerIp(ServerIpText());
}

void CSetupDlg::ShowServerIp()
{
    // The control keeps its address in four fields, not in its window text.
    uint32_t address = 0;
    if (IpAddressText::Parse(m_settings->GetServerIp(), address)) {
        SendDlgItemMessage(IDC_SETUP_SERVER_IP, IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
        return;
    }
    SendDlgItemMessage(IDC_SETUP_SERVER_IP, IPM_CLEARADDRESS);
    // A host name the control cannot show stays, unless an address is typed.
    m_unshownServerIp = m_settings->GetServerIp();
}

std::string CSetupDlg::ServerIpText() const
{
    DWORD address = 0;
    const LRESULT filledFields = SendDlgItemMessage(IDC_SETUP_SERVER_IP, IPM_GETADDRESS, 0,
                                                    reinterpret_cast<LPARAM>(&address));
    return filledFields == 0 ? m_unshownServerIp : IpAddressText::Format(address);
}
