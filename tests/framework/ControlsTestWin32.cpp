// The dialogs' composite controls on a real dialog: the setup template's
// field group (a list view inside).
#include "controls/CheckGroupBox.h"
#include "controls/XPGroupBox.h"
#include "framework/Dialog.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace
{
class ControlsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dialog.Create()); }
    bool Enabled(int id) const { return ::IsWindowEnabled(m_dialog.GetDlgItem(id)) != FALSE; }

    CDialog m_dialog{IDD_SETUP, nullptr};
};
}

TEST_F(ControlsTest, TheCaptionCheckBoxEnablesWhatTheGroupHolds)
{
    CCheckGroupBox group;
    ASSERT_TRUE(group.Attach(m_dialog.GetSafeHwnd(), IDC_SETUP_FIELDS_GROUP));
    EXPECT_EQ("[ Selected fields ]", CWindow::GetText(group.GetCheckBox()));

    group.SetCheck(false);
    EXPECT_FALSE(group.GetCheck());
    EXPECT_FALSE(Enabled(IDC_SETUP_FIELD_LIST));
    EXPECT_TRUE(Enabled(IDOK));                 // outside the group
    EXPECT_TRUE(Enabled(IDC_SETUP_BROWSE));

    // A click on the caption's check box, as the user makes it.
    ::SendMessageA(group.GetCheckBox(), BM_CLICK, 0, 0);
    EXPECT_TRUE(group.GetCheck());
    EXPECT_TRUE(Enabled(IDC_SETUP_FIELD_LIST));

    // A disabled group box freezes its check mark.
    ::EnableWindow(group.GetSafeHwnd(), FALSE);
    EXPECT_FALSE(::IsWindowEnabled(group.GetCheckBox()));
    group.SetCheck(false);
    EXPECT_FALSE(Enabled(IDC_SETUP_FIELD_LIST));
}

// A painted group box stays transparent to the mouse, so the list inside
// keeps its clicks.
TEST_F(ControlsTest, APaintedGroupLetsClicksThrough)
{
    CXPGroupBox group;
    ASSERT_TRUE(group.Attach(m_dialog.GetSafeHwnd(), IDC_SETUP_FIELDS_GROUP));
    EXPECT_TRUE(group.SetIcon(IDI_SETUP));
    ::UpdateWindow(m_dialog.GetSafeHwnd());
    RECT list;
    ::GetWindowRect(m_dialog.GetDlgItem(IDC_SETUP_FIELD_LIST), &list);
    EXPECT_EQ(HTTRANSPARENT, ::SendMessageA(group.GetSafeHwnd(), WM_NCHITTEST, 0,
                                            MAKELPARAM(list.left + 5, list.top + 5)));
}
