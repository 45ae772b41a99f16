// The setup dialog on a real configuration store in a fresh working
// directory, driven as the operator would drive it.
#include "acquisition/SerialPort.h"
#include "acquisition/SerialPortList.h"
#include "dialogs/SetupDlg.h"
#include "processing/ReceiverSettings.h"
#include "res/resource.h"
#include "tests/dialogs/DialogDriver.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <filesystem>

using namespace DialogDriver;

namespace
{
class SetupDlgTest : public ::testing::Test
{
protected:
    SetupDlgTest()
    {
        for (int i = 0; i < CSerialPort::PortCount; ++i)
            CSerialPort::SetConfig(i, SerialPortRecord::Default(i));
        // The table's first use in the process writes the file it did not
        // find; the tests start without one.
        std::filesystem::remove(m_dir.Join("Serial.cfg"));
        m_dialog.m_settings = &m_settings;
        m_dialog.m_portList = &m_noPorts;
    }

    HWND Open()
    {
        EXPECT_TRUE(m_dialog.Create());
        ::ShowWindow(m_dialog.GetSafeHwnd(), SW_SHOW);
        return m_dialog.GetSafeHwnd();
    }

    HWND List() const { return m_dialog.GetDlgItem(IDC_SETUP_FIELD_LIST); }

    std::string RowText(int row, int column = 1) const
    {
        char buffer[100] = {};
        ListView_GetItemText(List(), row, column, buffer, sizeof buffer);
        return buffer;
    }

    // Runs `action` on the modal dialog with that caption that a click on
    // the setup dialog's button opens.
    bool ClickIntoModal(int button, const std::string& caption, CModalScript::Action action)
    {
        CModalScript script;
        script.Then(caption, std::move(action));
        script.Run([&] {
            Click(m_dialog.GetSafeHwnd(), button);
            return 0;
        });
        return script.Finished();
    }

    bool RenameRow(int row, const std::string& name)
    {
        ListView_SetItemState(List(), row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        NMITEMACTIVATE click{};
        click.hdr.hwndFrom = List();
        click.hdr.idFrom = IDC_SETUP_FIELD_LIST;
        click.hdr.code = NM_DBLCLK;
        click.iItem = row;
        CModalScript script;
        script.Then("Get field name", [&](HWND nameDialog) {
            ::SetDlgItemTextA(nameDialog, IDC_FIELD_NAME, name.c_str());
            PostClick(nameDialog, IDOK);
        });
        script.Run([&] {
            return ::SendMessageA(m_dialog.GetSafeHwnd(), WM_NOTIFY, IDC_SETUP_FIELD_LIST,
                                  reinterpret_cast<LPARAM>(&click));
        });
        return script.Finished();
    }

    CTempDir m_dir;
    CReceiverSettings m_settings;
    const CSerialPortList m_noPorts{std::vector<std::string>{}};
    CSetupDlg m_dialog{nullptr};
    CMessageBoxCapture m_boxes;
};

DWORD IpAddress(HWND dialog)
{
    DWORD address = 0;
    ::SendDlgItemMessageA(dialog, IDC_SETUP_SERVER_IP, IPM_GETADDRESS, 0,
                          reinterpret_cast<LPARAM>(&address));
    return address;
}
}

TEST_F(SetupDlgTest, OpensWithEverySetting)
{
    m_settings.m_storeType = CReceiverSettings::SelectedFields;
    m_settings.SetFieldInUse(0, 1);
    m_settings.SetFieldInUse(3, 2);
    m_settings.SetFieldName(3, "Pressure");
    m_settings.m_inputSeparator = 0;
    m_settings.m_outputSeparator = 2;
    m_settings.m_language = 2;
    m_settings.m_comPort = 4;
    m_settings.SetDirectory("C:\\Data\\");
    m_settings.m_fileExtCode = 1;
    m_settings.SetServerPort("3000");
    m_settings.SetServerIp("10.1.2.3");
    m_settings.m_hideAtStart = 1;
    m_settings.m_hideButton = 0;
    m_settings.m_printOut = 1;
    const HWND dialog = Open();

    EXPECT_TRUE(IsChecked(dialog, IDC_SETUP_STORE_SELECTED));
    EXPECT_EQ("Tab", SelectedComboText(dialog, IDC_SETUP_INPUT_SEPARATOR));
    EXPECT_EQ("Comma", SelectedComboText(dialog, IDC_SETUP_OUTPUT_SEPARATOR));
    EXPECT_EQ("Italian", SelectedComboText(dialog, IDC_SETUP_LANGUAGE));
    // A store that was never saved shows the serial port.
    EXPECT_EQ("RS232", SelectedComboText(dialog, IDC_SETUP_INPUT_PORT));
    EXPECT_EQ("COM 5", SelectedComboText(dialog, IDC_SETUP_COM_PORT));
    EXPECT_EQ("C:\\Data\\", Text(dialog, IDC_SETUP_DIRECTORY));
    EXPECT_TRUE(IsChecked(dialog, IDC_SETUP_EXT_CSV));
    EXPECT_EQ("3000", Text(dialog, IDC_SETUP_SERVER_PORT));
    EXPECT_EQ(0x0A010203u, IpAddress(dialog));
    EXPECT_TRUE(IsChecked(dialog, IDC_SETUP_HIDE_AT_START));
    EXPECT_FALSE(IsChecked(dialog, IDC_SETUP_HIDE_BUTTON));
    // Without print settings to edit, printing cannot be set up.
    EXPECT_TRUE(IsChecked(dialog, IDC_SETUP_PRINT_RESULT));
    EXPECT_FALSE(IsEnabled(dialog, IDC_SETUP_PRINT_SETUP));

    EXPECT_EQ("Pressure", RowText(3));
    for (int row = 0; row < 20; ++row)
        EXPECT_EQ(row == 0 || row == 3, ListView_GetCheckState(List(), row) != FALSE) << row;
    EXPECT_FALSE(IsEnabled(dialog, IDC_SETUP_FIELDS_GROUP));
}

TEST_F(SetupDlgTest, SelectedFieldsNeedOneCheckedField)
{
    const HWND dialog = Open();
    // The field group's check mark follows the store type and frees its list.
    EXPECT_FALSE(IsEnabled(dialog, IDC_SETUP_FIELD_LIST));
    Click(dialog, IDC_SETUP_STORE_SELECTED_DATE);
    EXPECT_TRUE(IsEnabled(dialog, IDC_SETUP_FIELD_LIST));
    Click(dialog, IDC_SETUP_HIDE_AT_START);
    Click(dialog, IDOK);
    EXPECT_EQ((std::vector<std::string>{"No fields selected !!!"}), m_boxes.Texts());
    EXPECT_EQ(-1, m_dialog.GetResult());
    EXPECT_TRUE(::IsWindow(dialog));
    EXPECT_EQ(CReceiverSettings::OriginalFrame, m_settings.m_storeType);
    EXPECT_EQ(0, m_settings.m_hideAtStart);

    ListView_SetCheckState(List(), 7, TRUE);
    Click(dialog, IDOK);
    EXPECT_EQ(IDOK, m_dialog.GetResult());
    EXPECT_EQ(CReceiverSettings::SelectedFieldsDate, m_settings.m_storeType);
    EXPECT_EQ(1, m_settings.m_hideAtStart);
    EXPECT_EQ("", m_settings.GetServerIp());  // an empty address control stays empty
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(i == 7 ? 1 : 0, m_settings.IsFieldInUse(i)) << i;
}

TEST_F(SetupDlgTest, TheComPortListShowsAndStoresTheConfiguredPort)
{
    const struct
    {
        std::vector<std::string> discovered;
        int configured;
        const char* shown;
        int picked;  // -1: left as shown
        int stored;
    } cases[] = {
        // Discovered ports are sorted and stored by their number.
        {{"COM3", "COM1"}, 0, "COM1", 1, 2},
        // The configured port is found by its whole name.
        {{"COM10", "COM1"}, 0, "COM1", -1, 0},
        {{"COM1", "COM3"}, 36, "<none>", -1, 36},
        // Without discovered ports the fixed list's index is stored.
        {{}, 0, "COM 1", 5, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        const CSerialPortList ports(c.discovered);
        CSetupDlg dialog(nullptr);
        m_settings.m_comPort = c.configured;
        dialog.m_settings = &m_settings;
        dialog.m_portList = &ports;
        ASSERT_TRUE(dialog.Create());
        EXPECT_EQ(c.shown, SelectedComboText(dialog.GetSafeHwnd(), IDC_SETUP_COM_PORT));
        if (c.picked >= 0)
            SelectComboItem(dialog.GetSafeHwnd(), IDC_SETUP_COM_PORT, c.picked);
        Click(dialog.GetSafeHwnd(), IDOK);
        EXPECT_EQ(c.stored, m_settings.m_comPort);
    }
}

class SetupDlgButtonTest : public SetupDlgTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(SetupDlgButtonTest, OkWritesEveryControlIntoTheStoreCancelNone)
{
    const bool ok = GetParam() == IDOK;
    m_settings.m_storeType = CReceiverSettings::SelectedFields;
    m_settings.SetFieldInUse(2, 1);
    const HWND dialog = Open();
    for (const int id : {IDC_SETUP_HIDE_BUTTON, IDC_SETUP_EXT_CSV, IDC_SETUP_PRINT_RESULT, IDC_SETUP_RECONNECT})
        Click(dialog, id);
    SelectComboItem(dialog, IDC_SETUP_INPUT_SEPARATOR, 3);
    SelectComboItem(dialog, IDC_SETUP_OUTPUT_SEPARATOR, 0);
    SelectComboItem(dialog, IDC_SETUP_LANGUAGE, 1);
    SelectComboItem(dialog, IDC_SETUP_INPUT_PORT, 1);
    ::SetDlgItemTextA(dialog, IDC_SETUP_SERVER_PORT, "123456789012");
    ::SendDlgItemMessageA(dialog, IDC_SETUP_SERVER_IP, IPM_SETADDRESS, 0, 0xC0A864C8);
    ListView_SetCheckState(List(), 2, FALSE);
    ListView_SetCheckState(List(), 19, TRUE);
    ASSERT_TRUE(RenameRow(5, "Torque"));
    EXPECT_EQ("Torque", RowText(5));
    EXPECT_EQ("Name_5", m_settings.GetFieldName(5));
    Click(dialog, GetParam());
    ASSERT_EQ(GetParam(), m_dialog.GetResult());

    EXPECT_EQ(ok ? "Torque" : "Name_5", m_settings.GetFieldName(5));
    EXPECT_EQ(ok ? 0 : 1, m_settings.m_hideButton);
    EXPECT_EQ(ok ? 1 : 0, m_settings.m_fileExtCode);
    EXPECT_EQ(ok ? 1 : 0, m_settings.m_printOut);
    EXPECT_EQ(ok ? 0 : 1, m_settings.m_reconnect);
    EXPECT_EQ(ok ? 3 : 1, m_settings.m_inputSeparator);
    EXPECT_EQ(ok ? 0 : 1, m_settings.m_outputSeparator);
    EXPECT_EQ(ok ? 1 : 0, m_settings.m_language);
    EXPECT_EQ(ok ? CReceiverSettings::LinkEthernet : CReceiverSettings::LinkNeverConfigured,
              m_settings.m_linkType);
    EXPECT_EQ(ok ? "123456789" : "", m_settings.GetServerPort());
    EXPECT_EQ(ok ? "192.168.100.200" : "", m_settings.GetServerIp());
    EXPECT_EQ(ok ? 0 : 1, m_settings.IsFieldInUse(2));
    EXPECT_EQ(ok ? 1 : 0, m_settings.IsFieldInUse(19));
    EXPECT_EQ("RESULT\\", m_settings.GetDirectory());
}

INSTANTIATE_TEST_SUITE_P(Buttons, SetupDlgButtonTest, ::testing::Values(IDOK, IDCANCEL));

TEST_F(SetupDlgTest, TheSerialRecordIsSavedAtOnceOnOkOnlyAndSurvivesCancel)
{
    m_settings.m_comPort = 2;
    const HWND dialog = Open();
    ASSERT_TRUE(ClickIntoModal(IDC_SETUP_RS232_SETUP, "Serial port setup", [](HWND serial) {
        SelectComboItem(serial, IDC_SERIAL_HANDSHAKE, 2);
        PostClick(serial, IDCANCEL);
    }));
    EXPECT_FALSE(std::filesystem::exists(m_dir.Join("Serial.cfg")));
    EXPECT_EQ(0, CSerialPort::GetConfig(2)->handshake);
    ASSERT_TRUE(ClickIntoModal(IDC_SETUP_RS232_SETUP, "Serial port setup", [](HWND serial) {
        EXPECT_EQ("COM3", Text(serial, IDC_SERIAL_PORT_NAME));
        SelectComboItem(serial, IDC_SERIAL_HANDSHAKE, 1);
        SelectComboItem(serial, IDC_SERIAL_BAUD, 2);
        PostClick(serial, IDOK);
    }));
    Click(dialog, IDCANCEL);

    const std::string file = m_dir.Read("Serial.cfg");
    ASSERT_EQ(560u, file.size());
    const SerialPortConfig record = SerialPortRecord::Decode(
        reinterpret_cast<const unsigned char*>(file.data()) + 2 * SerialPortRecord::Size);
    EXPECT_STREQ("COM3", record.portName);
    EXPECT_EQ(1, record.handshake);
    EXPECT_EQ(38400u, record.baudRate);
    EXPECT_EQ(1, CSerialPort::GetConfig(2)->handshake);
}

TEST_F(SetupDlgTest, TheFolderBrowserKeepsTheWorkingDirectoryAndACancelChangesNothing)
{
    m_settings.SetDirectory("C:\\Data\\");
    const std::string before = std::filesystem::current_path().string();
    const HWND dialog = Open();
    ASSERT_TRUE(ClickIntoModal(IDC_SETUP_BROWSE, "Browse for Folder", [](HWND folderDialog) {
        ::SetCurrentDirectoryA("C:\\");
        ::SendMessageA(folderDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }));
    EXPECT_EQ("C:\\Data\\", Text(dialog, IDC_SETUP_DIRECTORY));
    EXPECT_EQ(before, std::filesystem::current_path().string());
    Click(dialog, IDOK);
    EXPECT_EQ("C:\\Data\\", m_settings.GetDirectory());
}
