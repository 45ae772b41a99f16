// The serial port setup dialog on a copy of a port's record.
#include "dialogs/SerialSetupDlg.h"
#include "res/resource.h"
#include "tests/dialogs/DialogDriver.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace DialogDriver;

namespace
{
SerialPortConfig Record(const char* name, uint32_t baud)
{
    SerialPortConfig record{};
    std::strncpy(record.portName, name, 5);
    record.baudRate = baud;
    record.dataBits = 8;
    record.parity = 2;
    return record;
}
}

TEST(SerialSetupDlgTest, TheDefaultRecordOpensAs9600Even8N1AndEveryListStoresItsValue)
{
    CSerialSetupDlg dialog(nullptr);
    dialog.m_config = Record("COM1", 9600);
    ASSERT_TRUE(dialog.Create());
    const HWND hWnd = dialog.GetSafeHwnd();
    EXPECT_EQ("9600", SelectedComboText(hWnd, IDC_SERIAL_BAUD));
    EXPECT_EQ("EVEN", SelectedComboText(hWnd, IDC_SERIAL_PARITY));
    EXPECT_EQ("None", SelectedComboText(hWnd, IDC_SERIAL_HANDSHAKE));

    SelectComboItem(hWnd, IDC_SERIAL_DATA_BITS, 1);   // 7
    SelectComboItem(hWnd, IDC_SERIAL_STOP_BITS, 1);   // 1.5
    SelectComboItem(hWnd, IDC_SERIAL_PARITY, 1);      // ODD
    SelectComboItem(hWnd, IDC_SERIAL_HANDSHAKE, 3);   // the empty item
    // The empty rate keeps the record's.
    SelectComboItem(hWnd, IDC_SERIAL_BAUD, 10);
    Click(hWnd, IDOK);
    EXPECT_EQ(IDOK, dialog.GetResult());
    EXPECT_EQ(9600u, dialog.m_config.baudRate);
    EXPECT_EQ(7, dialog.m_config.dataBits);
    EXPECT_EQ(1, dialog.m_config.stopBits);
    EXPECT_EQ(1, dialog.m_config.parity);
    EXPECT_EQ(3, dialog.m_config.handshake);
}

// A record written by another program keeps its values that no list
// holds; a Cancel is the setup dialog test's.
TEST(SerialSetupDlgTest, OkKeepsAnUntouchedRecordWithValuesNoListHolds)
{
    CSerialSetupDlg dialog(nullptr);
    dialog.m_config = Record("COM4", 12345);
    dialog.m_config.parity = 7;
    dialog.m_config.dataBits = 5;
    const SerialPortConfig outside = dialog.m_config;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ("<none>", SelectedComboText(dialog.GetSafeHwnd(), IDC_SERIAL_BAUD));
    Click(dialog.GetSafeHwnd(), IDOK);
    EXPECT_EQ(IDOK, dialog.GetResult());
    EXPECT_EQ(0, std::memcmp(&outside, &dialog.m_config, sizeof outside));
}
