// The print settings edited through their dialog, run modally by
// EditSettings in a fresh working directory.
#include "dialogs/PrintSetupDlg.h"
#include "framework/IntegerText.h"
#include "printing/PrintSettings.h"
#include "res/resource.h"
#include "tests/dialogs/DialogDriver.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

using namespace DialogDriver;

namespace
{
// Tickets take margins, labels a character size and positions.
void ExpectTicketControls(HWND dialog, bool ticket)
{
    EXPECT_EQ(ticket, IsEnabled(dialog, IDC_PRINT_LEFT_MARGIN));
    EXPECT_EQ(!ticket, IsEnabled(dialog, IDC_PRINT_CHAR_SIZE));
    EXPECT_EQ(!ticket, IsEnabled(dialog, IDC_PRINT_FRAME_Y));
}
}

// The first start shows the defaults, and a Cancel changes neither the
// object nor the file.  An entry out of range or not a number keeps the
// dialog open with the entry in focus; OK then takes and writes every
// setting.
TEST(PrintSetupDlgTest, DefaultsCancelRefusedEntriesAndOk)
{
    CTempDir dir;
    CPrintSettings settings;
    CMessageBoxCapture boxes;
    // EditSettings' result after `action` on its dialog.
    const auto edit = [&](const std::function<void(HWND)>& action) {
        INT_PTR result = -1;
        EXPECT_TRUE(ActInModal(
            "Printing setup", action, [&] { return static_cast<INT_PTR>(settings.EditSettings()); },
            &result));
        return result;
    };
    EXPECT_EQ(CPrintSettings::Failure, edit([](HWND dialog) {
        EXPECT_EQ("Ticket-A4", Text(dialog, IDC_PRINT_TYPE));
        EXPECT_EQ("1", Text(dialog, IDC_PRINT_COPIES));
        EXPECT_TRUE(IsChecked(dialog, IDC_PRINT_FRAME));
        EXPECT_EQ("160", Text(dialog, IDC_PRINT_DATETIME_Y));
        ExpectTicketControls(dialog, true);
        // The painted group box lets the clicks through to what it holds.
        RECT box;
        ::GetWindowRect(::GetDlgItem(dialog, IDC_PRINT_SERIAL), &box);
        EXPECT_EQ(HTTRANSPARENT, ::SendDlgItemMessageA(dialog, IDC_PRINT_FIELDS_GROUP, WM_NCHITTEST,
                                                       0, MAKELPARAM(box.left + 2, box.top + 2)));
        SelectComboItem(dialog, IDC_PRINT_TYPE, 2);
        ExpectTicketControls(dialog, false);
        ::SetDlgItemTextA(dialog, IDC_PRINT_COPIES, "4");
        Click(dialog, IDC_PRINT_FRAME);
        Click(dialog, IDCANCEL);
    }));
    EXPECT_EQ(CPrintSettings::TicketA4, settings.m_printingType);
    EXPECT_EQ(1, settings.m_numberOfCopies);
    EXPECT_EQ(1, settings.m_lines[CPrintSettings::FrameLine].enabled);
    EXPECT_FALSE(std::filesystem::exists(dir.Join("PrintSetup.ini")));

    EXPECT_EQ(0, edit([&](HWND dialog) {
        for (const auto& [id, refused, accepted] :
             {std::tuple{IDC_PRINT_LEFT_MARGIN, "101", "100"}, {IDC_PRINT_COPIES, "two", "2"},
              {IDC_PRINT_COPIES, "99999", "2"}}) {
            ::SetDlgItemTextA(dialog, id, refused);
            Click(dialog, IDOK);
            EXPECT_EQ(::GetDlgItem(dialog, id), ::GetFocus()) << refused;
            ::SetDlgItemTextA(dialog, id, accepted);
        }
        SelectComboItem(dialog, IDC_PRINT_TYPE, 2);
        SelectComboItem(dialog, IDC_PRINT_CHAR_SIZE, 6);
        Click(dialog, IDC_PRINT_SERIAL);
        ::SetDlgItemTextA(dialog, IDC_PRINT_SERIAL_X, "-5");
        Click(dialog, IDOK);
        EXPECT_EQ(::GetDlgItem(dialog, IDC_PRINT_SERIAL_X), ::GetFocus());
        ::SetDlgItemTextA(dialog, IDC_PRINT_SERIAL_X, "250");
        Click(dialog, IDOK);
    }));
    EXPECT_EQ(
        (std::vector<std::string>{IntegerText::RangePrompt(0, 100), IntegerText::IntegerPrompt(),
                                  IntegerText::RangePrompt(1, 100), IntegerText::RangePrompt(0, 9999)}),
        boxes.texts);
    const std::string ini = dir.Read("PrintSetup.ini");
    for (const char* expected : {"LeftMargin=100", "NumberOfCopies=2", "PrintingType=2", "LabelCarSize=6",
                                 "SerialNum=1", "X2=250"})
        EXPECT_NE(std::string::npos, ini.find(expected)) << expected;
}
