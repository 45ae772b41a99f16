// The field name dialog, created for real in the test process.
#include "dialogs/FieldNameDlg.h"
#include "framework/IntegerText.h"
#include "res/resource.h"
#include "tests/dialogs/DialogDriver.h"

#include <gtest/gtest.h>

using namespace DialogDriver;

namespace
{
class FieldNameDlgTest : public ::testing::Test
{
protected:
    void Open(const std::string& name)
    {
        m_dialog.m_fieldName = name;
        ASSERT_TRUE(m_dialog.Create());
        ::ShowWindow(m_dialog.GetSafeHwnd(), SW_SHOW);
    }
    HWND Edit() const { return m_dialog.GetDlgItem(IDC_FIELD_NAME); }

    CFieldNameDlg m_dialog{nullptr};
    CMessageBoxCapture m_boxes;
};
}

TEST_F(FieldNameDlgTest, NamesLongerThanTwentyCharactersAreRefused)
{
    Open("Pressure");
    ::SetWindowTextA(Edit(), "123456789012345678901");
    Click(m_dialog.GetSafeHwnd(), IDOK);
    ASSERT_EQ(1u, m_boxes.Texts().size());
    EXPECT_EQ(IntegerText::LengthPrompt(20), m_boxes.Texts()[0]);
    EXPECT_EQ(-1, m_dialog.GetResult());
    EXPECT_EQ("Pressure", m_dialog.m_fieldName);
    EXPECT_EQ(Edit(), ::GetFocus());

    ::SetWindowTextA(Edit(), "");
    TypeCharacters(Edit(), "abcdefghijklmnopqrstuvw");
    Click(m_dialog.GetSafeHwnd(), IDOK);
    EXPECT_EQ(IDOK, m_dialog.GetResult());
    EXPECT_EQ("abcdefghijklmnopqrst", m_dialog.m_fieldName);
}
