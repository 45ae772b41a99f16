// The setup dialog on a real configuration store in a fresh working
// directory, driven as the operator would drive it.
#include "acquisition/SerialPort.h"
#include "acquisition/SerialPortList.h"
#include "dialogs/SetupDlg.h"
#include "framework/IntegerText.h"
#include "processing/ReceiverSettings.h"
#include "res/resource.h"
#include "tests/dialogs/DialogDriver.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <tuple>

#include <commctrl.h>

#include <filesystem>

using namespace DialogDriver;

namespace
{
class SetupDlgTest : public ::testing::Test
{
protected:
    HWND Open(const CSerialPortList* ports = nullptr)
    {
        m_dialog.m_settings = &m_settings;
        m_dialog.m_portList = ports ? ports : &m_noPorts;
        EXPECT_TRUE(m_dialog.Create());
        ::ShowWindow(m_dialog.GetSafeHwnd(), SW_SHOW);
        return m_dialog.GetSafeHwnd();
    }

    HWND List() const { return m_dialog.GetDlgItem(IDC_SETUP_FIELD_LIST); }

    std::string RowText(int row) const
    {
        char buffer[100] = {};
        ListView_GetItemText(List(), row, 1, buffer, sizeof buffer);
        return buffer;
    }

    // Performs `action` on the modal dialog with that caption that a click
    // on the setup dialog's button opens.
    bool ClickIntoModal(int button, const std::string& caption,
                        const std::function<void(HWND)>& action)
    {
        return ActInModal(caption, action, [&] {
            Click(m_dialog.GetSafeHwnd(), button);
            return INT_PTR{0};
        });
    }

    CTempDir m_dir;
    CReceiverSettings m_settings;
    const CSerialPortList m_noPorts{std::vector<std::string>{}};
    CSetupDlg m_dialog{nullptr};
    CMessageBoxCapture m_boxes;
};
}

TEST_F(SetupDlgTest, ShowsEverySettingAndOkWritesEveryControl)
{
    m_settings.m_storeType = CReceiverSettings::SelectedFields;
    m_settings.SetFieldInUse(0, 1);
    m_settings.SetFieldInUse(3, 2);
    m_settings.SetFieldName(3, "Pressure");
    m_settings.m_inputSeparator = 0;
    m_settings.m_outputSeparator = 2;
    m_settings.m_language = 2;
    m_settings.SetDirectory("C:\\Data\\");
    m_settings.m_fileExtCode = 1;
    m_settings.SetServerPort("3000");
    m_settings.SetServerIp("10.1.2.3");
    m_settings.m_hideAtStart = 1;
    m_settings.m_hideButton = 0;
    m_settings.m_printOut = 1;
    const HWND dialog = Open();

    // A store that was never saved shows the serial port.
    for (const auto& [id, text] : {std::pair<int, const char*>{IDC_SETUP_INPUT_SEPARATOR, "Tab"},
                                   {IDC_SETUP_OUTPUT_SEPARATOR, "Comma"}, {IDC_SETUP_LANGUAGE, "Italian"},
                                   {IDC_SETUP_INPUT_PORT, "RS232"}, {IDC_SETUP_DIRECTORY, "C:\\Data\\"},
                                   {IDC_SETUP_SERVER_PORT, "3000"}, {IDC_SETUP_SERVER_IP, "10.1.2.3"}})
        EXPECT_EQ(text, Text(dialog, id)) << id;
    // The check boxes are seen to toggle below; the radio buttons are not.
    EXPECT_TRUE(IsChecked(dialog, IDC_SETUP_STORE_SELECTED));
    EXPECT_TRUE(IsChecked(dialog, IDC_SETUP_EXT_CSV));
    // Without print settings to edit, printing cannot be set up.
    EXPECT_FALSE(IsEnabled(dialog, IDC_SETUP_PRINT_SETUP));
    EXPECT_EQ("Pressure", RowText(3));
    for (int row = 0; row < 20; ++row)
        EXPECT_EQ(row == 0 || row == 3, ListView_GetCheckState(List(), row) != FALSE) << row;

    // The field group's check mark follows the store type and frees its list.
    EXPECT_FALSE(IsEnabled(dialog, IDC_SETUP_FIELDS_GROUP));
    Click(dialog, IDC_SETUP_STORE_ORIGINAL);
    EXPECT_FALSE(IsEnabled(dialog, IDC_SETUP_FIELD_LIST));
    for (const int id : {IDC_SETUP_STORE_SELECTED_DATE, IDC_SETUP_HIDE_AT_START, IDC_SETUP_HIDE_BUTTON,
                         IDC_SETUP_EXT_TXT, IDC_SETUP_PRINT_RESULT, IDC_SETUP_RECONNECT})
        Click(dialog, id);
    EXPECT_TRUE(IsEnabled(dialog, IDC_SETUP_FIELD_LIST));
    SelectComboItem(dialog, IDC_SETUP_INPUT_SEPARATOR, 3);
    SelectComboItem(dialog, IDC_SETUP_OUTPUT_SEPARATOR, 0);
    SelectComboItem(dialog, IDC_SETUP_LANGUAGE, 1);
    // Selected fields need one checked field: OK is refused, nothing written.
    ListView_SetCheckState(List(), 0, FALSE);
    ListView_SetCheckState(List(), 3, FALSE);
    Click(dialog, IDOK);
    EXPECT_EQ(-1, m_dialog.GetResult());
    EXPECT_EQ(CReceiverSettings::SelectedFields, m_settings.m_storeType);
    ListView_SetCheckState(List(), 19, TRUE);
    // A double-click renames the row; a name of more than 20 characters is
    // refused with the field kept in focus, and typing stops at 20.
    ListView_SetItemState(List(), 5, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    NMHDR doubleClick{List(), IDC_SETUP_FIELD_LIST, NM_DBLCLK};
    ASSERT_TRUE(ActInModal("Get field name", [&](HWND nameDialog) {
        const HWND edit = ::GetDlgItem(nameDialog, IDC_FIELD_NAME);
        ::SetWindowTextA(edit, "123456789012345678901");
        Click(nameDialog, IDOK);
        EXPECT_EQ(edit, ::GetFocus());
        ::SetWindowTextA(edit, "");
        for (const char c : std::string("abcdefghijklmnopqrstuvw"))
            ::SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 1);
        PostClick(nameDialog, IDOK);
    }, [&] {
        return ::SendMessageA(dialog, WM_NOTIFY, IDC_SETUP_FIELD_LIST, reinterpret_cast<LPARAM>(&doubleClick));
    }));
    EXPECT_EQ((std::vector<std::string>{"No fields selected !!!", IntegerText::LengthPrompt(20)}),
              m_boxes.texts);
    EXPECT_EQ("abcdefghijklmnopqrst", RowText(5));
    EXPECT_EQ("Name_5", m_settings.GetFieldName(5));
    // The folder browser leaves the working directory as it was; its Cancel
    // leaves the directory.
    const std::string workingDirectory = std::filesystem::current_path().string();
    ASSERT_TRUE(ClickIntoModal(IDC_SETUP_BROWSE, "Browse for Folder", [](HWND folderDialog) {
        ::SetCurrentDirectoryA("C:\\");
        PostClick(folderDialog, IDCANCEL);
    }));
    EXPECT_EQ("C:\\Data\\", Text(dialog, IDC_SETUP_DIRECTORY));
    EXPECT_EQ(workingDirectory, std::filesystem::current_path().string());
    Click(dialog, IDOK);
    ASSERT_EQ(IDOK, m_dialog.GetResult());

    EXPECT_EQ("abcdefghijklmnopqrst", m_settings.GetFieldName(5));
    // Store type, hide at start, hide button, extension, print, reconnect,
    // separators, language, link.
    EXPECT_EQ((std::vector<int>{CReceiverSettings::SelectedFieldsDate, 0, 1, 0, 0, 0, 3, 0, 1,
                                CReceiverSettings::LinkSerial}),
              (std::vector<int>{m_settings.m_storeType, m_settings.m_hideAtStart,
                                m_settings.m_hideButton, m_settings.m_fileExtCode, m_settings.m_printOut,
                                m_settings.m_reconnect, m_settings.m_inputSeparator,
                                m_settings.m_outputSeparator, m_settings.m_language, m_settings.m_linkType}));
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(i == 19 ? 1 : 0, m_settings.IsFieldInUse(i)) << i;
    EXPECT_EQ("C:\\Data\\", m_settings.GetDirectory());
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
        {{"COM1", "COM3"}, 36, "", -1, 36},
        // Without discovered ports the fixed list's index is stored.
        {{}, 0, "COM 1", 5, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        const CSerialPortList ports(c.discovered);
        m_settings.m_comPort = c.configured;
        const HWND dialog = Open(&ports);
        EXPECT_EQ(c.shown, Text(dialog, IDC_SETUP_COM_PORT));
        if (c.picked >= 0)
            SelectComboItem(dialog, IDC_SETUP_COM_PORT, c.picked);
        Click(dialog, IDOK);
        EXPECT_EQ(c.stored, m_settings.m_comPort);
    }
    EXPECT_EQ("", m_settings.GetServerIp());  // an empty address control stays empty
}

// The serial dialog shows and stores the port's record, keeps what no list
// holds, and its OK saves the record at once: the setup dialog's Cancel
// neither takes it back nor writes the setup's own controls.
TEST_F(SetupDlgTest, TheSerialRecordIsSavedAtOnceOnOkOnlyAndSurvivesCancel)
{
    SerialPortConfig outside = SerialPortRecord::Default(2);
    outside.baudRate = 12345;
    outside.dataBits = 5;
    outside.parity = 1;
    CSerialPort::SetConfig(2, outside);
    // The table's first use in the process writes the file it did not
    // find; the test starts without one.
    std::filesystem::remove(m_dir.Join("Serial.cfg"));
    m_settings.m_comPort = 2;
    const HWND dialog = Open();
    ASSERT_TRUE(ClickIntoModal(IDC_SETUP_RS232_SETUP, "Serial port setup", [](HWND serial) {
        EXPECT_EQ("", Text(serial, IDC_SERIAL_BAUD));
        EXPECT_EQ("ODD", Text(serial, IDC_SERIAL_PARITY));
        EXPECT_EQ("None", Text(serial, IDC_SERIAL_HANDSHAKE));
        SelectComboItem(serial, IDC_SERIAL_HANDSHAKE, 2);
        PostClick(serial, IDCANCEL);
    }));
    EXPECT_FALSE(std::filesystem::exists(m_dir.Join("Serial.cfg")));
    EXPECT_EQ(0, CSerialPort::GetConfig(2)->handshake);
    ASSERT_TRUE(ClickIntoModal(IDC_SETUP_RS232_SETUP, "Serial port setup", [](HWND serial) {
        EXPECT_EQ("COM3", Text(serial, IDC_SERIAL_PORT_NAME));
        SelectComboItem(serial, IDC_SERIAL_BAUD, 10);       // the empty rate keeps the record's
        SelectComboItem(serial, IDC_SERIAL_STOP_BITS, 1);   // 1.5
        SelectComboItem(serial, IDC_SERIAL_PARITY, 2);      // EVEN
        SelectComboItem(serial, IDC_SERIAL_HANDSHAKE, 3);   // the empty item
        PostClick(serial, IDOK);
    }));
    Click(dialog, IDC_SETUP_HIDE_AT_START);
    SelectComboItem(dialog, IDC_SETUP_LANGUAGE, 1);
    Click(dialog, IDCANCEL);
    EXPECT_EQ(0, m_settings.m_hideAtStart);
    EXPECT_EQ(0, m_settings.m_language);

    const std::string file = m_dir.Read("Serial.cfg");
    ASSERT_EQ(560u, file.size());
    const SerialPortConfig record = SerialPortRecord::Decode(
        reinterpret_cast<const unsigned char*>(file.data()) + 2 * SerialPortRecord::Size);
    EXPECT_EQ((std::vector<int>{12345, 5, 1, 2, 3}),
              (std::vector<int>{static_cast<int>(record.baudRate), record.dataBits, record.stopBits,
                                record.parity, record.handshake}));
}

// Nothing that cannot work is saved: a server port outside 1 to 65535 (70000
// would connect to 4464), a field name that would split the header line.
// A host name the address control cannot show is kept, and so is a
// database password that cannot be shown; a table name must be plain.
TEST_F(SetupDlgTest, RefusesWhatCannotWorkAndKeepsAHostName)
{
    m_settings.m_linkType = CReceiverSettings::LinkEthernet;
    m_settings.SetServerIp("localhost");
    m_settings.SetServerPort("70000");
    // Protected for someone else: not shown, and kept when left empty.
    m_settings.m_database.protectedPassword = "00FF";
    const HWND dialog = Open();
    for (const char* refused : {"70000", "0", "port"}) {
        ::SetDlgItemTextA(dialog, IDC_SETUP_SERVER_PORT, refused);
        Click(dialog, IDOK);
        EXPECT_EQ(-1, m_dialog.GetResult()) << refused;
    }
    ListView_SetItemState(List(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    NMHDR doubleClick{List(), IDC_SETUP_FIELD_LIST, NM_DBLCLK};
    ASSERT_TRUE(ActInModal("Get field name", [&](HWND nameDialog) {
        for (const char* refused : {"Ser\"ial", "a;b"}) {
            ::SetDlgItemTextA(nameDialog, IDC_FIELD_NAME, refused);
            Click(nameDialog, IDOK);
        }
        ::SetDlgItemTextA(nameDialog, IDC_FIELD_NAME, "a,b");
        PostClick(nameDialog, IDOK);
    }, [&] {
        return ::SendMessageA(dialog, WM_NOTIFY, IDC_SETUP_FIELD_LIST, reinterpret_cast<LPARAM>(&doubleClick));
    }));
    ::SetDlgItemTextA(dialog, IDC_SETUP_SERVER_PORT, "65535");
    ::SetDlgItemTextA(dialog, IDC_SETUP_DB_TABLE, "results; --");
    Click(dialog, IDOK);
    EXPECT_EQ(-1, m_dialog.GetResult());
    ::SetDlgItemTextA(dialog, IDC_SETUP_DB_TABLE, "results_2");
    ::SetDlgItemTextA(dialog, IDC_SETUP_DB_CONNECTION, "DSN=plant");
    Click(dialog, IDC_SETUP_DB_ENABLED);
    Click(dialog, IDOK);
    ASSERT_EQ(IDOK, m_dialog.GetResult());
    const std::string port = IntegerText::RangePrompt(1, 65535);
    const std::string name = "A field name cannot hold a quote or the output separator.";
    const std::string table = "A table name holds only letters, digits and _, and does not begin with a digit.";
    EXPECT_EQ((std::vector<std::string>{port, port, port, name, name, table}), m_boxes.texts);
    EXPECT_EQ("a,b", m_settings.GetFieldName(0));
    EXPECT_EQ("65535", m_settings.GetServerPort());
    EXPECT_EQ("localhost", m_settings.GetServerIp());
    const CReceiverSettings::Database& db = m_settings.m_database;
    EXPECT_EQ(std::make_tuple(1, std::string("DSN=plant"), std::string("results_2"), std::string("00FF")),
              std::make_tuple(db.enabled, db.connectionString, db.table, db.protectedPassword));
}
