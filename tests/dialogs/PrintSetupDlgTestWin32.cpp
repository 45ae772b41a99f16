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

class PrintSetupDlgTest : public ::testing::Test
{
protected:
    unsigned Edit(CModalScript::Action action)
    {
        CModalScript script;
        script.Then("Printing setup", std::move(action));
        const unsigned result =
            static_cast<unsigned>(script.Run([&] { return m_settings.EditSettings(); }));
        EXPECT_TRUE(script.Finished());
        return result;
    }

    CTempDir m_dir;
    CPrintSettings m_settings;
    CMessageBoxCapture m_boxes;
};
}

TEST_F(PrintSetupDlgTest, FirstStartShowsTheDefaultsAndLabelsSwitchTheControls)
{
    const unsigned result = Edit([](HWND dialog) {
        EXPECT_EQ("Ticket-A4", SelectedComboText(dialog, IDC_PRINT_TYPE));
        EXPECT_EQ("1", Text(dialog, IDC_PRINT_COPIES));
        EXPECT_TRUE(IsChecked(dialog, IDC_PRINT_FRAME));
        EXPECT_EQ("160", Text(dialog, IDC_PRINT_DATETIME_Y));
        ExpectTicketControls(dialog, true);
        // The painted group box lets the clicks through to what it holds.
        RECT box;
        ::GetWindowRect(::GetDlgItem(dialog, IDC_PRINT_SERIAL), &box);
        EXPECT_EQ(HTTRANSPARENT, ::SendDlgItemMessageA(dialog, IDC_PRINT_FIELDS_GROUP, WM_NCHITTEST, 0,
                                                       MAKELPARAM(box.left + 2, box.top + 2)));
        SelectComboItem(dialog, IDC_PRINT_TYPE, 2);
        ExpectTicketControls(dialog, false);

        SelectComboItem(dialog, IDC_PRINT_CHAR_SIZE, 6);
        Click(dialog, IDC_PRINT_SERIAL);
        ::SetDlgItemTextA(dialog, IDC_PRINT_SERIAL_X, "250");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(0u, result);
    EXPECT_EQ(CPrintSettings::Zpl2Label, m_settings.m_printingType);
    EXPECT_EQ(6, m_settings.m_labelCarSize);
    EXPECT_EQ(1, m_settings.m_lines[CPrintSettings::SerialNumberLine].enabled);
    EXPECT_EQ(250, m_settings.GetLineX(CPrintSettings::SerialNumberLine));

    const std::string ini = m_dir.Read("PrintSetup.ini");
    for (const char* expected : {"PrintingType=2", "LabelCarSize=6", "SerialNum=1", "X2=250"})
        EXPECT_NE(std::string::npos, ini.find(expected)) << expected;
}

TEST_F(PrintSetupDlgTest, AnEntryOutOfRangeOrNotANumberKeepsTheDialogOpen)
{
    const struct
    {
        int id;
        const char* refused;
        std::string prompt;
        const char* accepted;
    } cases[] = {{IDC_PRINT_LEFT_MARGIN, "101", IntegerText::RangePrompt(0, 100), "100"},
                 {IDC_PRINT_COPIES, "two", IntegerText::IntegerPrompt(), "2"}};
    for (const auto& c : cases) {
        const size_t shown = m_boxes.Texts().size();
        const unsigned result = Edit([&](HWND dialog) {
            ::SetDlgItemTextA(dialog, c.id, c.refused);
            Click(dialog, IDOK);
            ASSERT_EQ(shown + 1, m_boxes.Texts().size());
            EXPECT_EQ(c.prompt, m_boxes.Texts().back());
            EXPECT_TRUE(::IsWindow(dialog));
            EXPECT_EQ(::GetDlgItem(dialog, c.id), ::GetFocus());
            ::SetDlgItemTextA(dialog, c.id, c.accepted);
            Click(dialog, IDOK);
        });
        EXPECT_EQ(0u, result) << c.refused;
    }
    EXPECT_EQ(100, m_settings.m_leftMargin);
    EXPECT_EQ(2, m_settings.m_numberOfCopies);
}

TEST_F(PrintSetupDlgTest, CancelChangesNeitherTheObjectNorTheFile)
{
    const unsigned result = Edit([](HWND dialog) {
        SelectComboItem(dialog, IDC_PRINT_TYPE, 1);
        ::SetDlgItemTextA(dialog, IDC_PRINT_COPIES, "4");
        Click(dialog, IDC_PRINT_FRAME);
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(65535u, result);
    EXPECT_EQ(CPrintSettings::TicketA4, m_settings.m_printingType);
    EXPECT_EQ(1, m_settings.m_numberOfCopies);
    EXPECT_EQ(1, m_settings.m_lines[CPrintSettings::FrameLine].enabled);
    EXPECT_FALSE(std::filesystem::exists(m_dir.Join("PrintSetup.ini")));
}
