// The French and Italian libraries carry every dialog of the executable
// with the same controls, its tray menu, and its strings, translated.
#include "framework/Application.h"
#include "framework/Dialog.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace
{
struct Shown
{
    std::string texts;   // the caption and every control's text
    std::set<int> controls;
};

Shown ShowDialog(int templateId)
{
    CDialog dialog(templateId, nullptr);
    Shown shown;
    if (!dialog.Create())
        return shown;
    shown.texts = CWindow::GetText(dialog.GetSafeHwnd());
    for (HWND child = ::GetWindow(dialog.GetSafeHwnd(), GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        shown.controls.insert(::GetDlgCtrlID(child));
        shown.texts += "|" + CWindow::GetText(child);
    }
    return shown;
}

class LanguageLibrariesTest : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        m_library = ::LoadLibraryA(GetParam());
        ASSERT_NE(nullptr, m_library) << GetParam();
    }
    void TearDown() override
    {
        CApplication::SetResourceHandle(nullptr);
        if (m_library)
            ::FreeLibrary(m_library);
    }

    HMODULE m_library = nullptr;
};
}

TEST_P(LanguageLibrariesTest, EveryDialogHasTheExecutablesControls)
{
    for (const int id : {IDD_SETUP, IDD_FIELD_NAME, IDD_PRINT_SETUP, IDD_SERIAL_SETUP,
                         IDD_ABOUTBOX, IDD_RECEIVER_DIALOG}) {
        CApplication::SetResourceHandle(nullptr);
        const Shown english = ShowDialog(id);
        CApplication::SetResourceHandle(m_library);
        const Shown translated = ShowDialog(id);
        ASSERT_FALSE(english.controls.empty()) << id;
        EXPECT_EQ(english.controls, translated.controls) << id;
        EXPECT_NE(english.texts, translated.texts) << id;
    }
}

TEST_P(LanguageLibrariesTest, TheStringsAreTranslated)
{
    for (const UINT id : {IDS_ABOUTBOX, IDS_NO_FIELDS_SELECTED, IDS_FRAME_FORMAT_ERROR}) {
        CApplication::SetResourceHandle(nullptr);
        const std::string english = CApplication::LoadString(id);
        CApplication::SetResourceHandle(m_library);
        EXPECT_NE(english, CApplication::LoadString(id)) << id;
    }
    EXPECT_EQ("Quorbel", CApplication::Title());
}

TEST_P(LanguageLibrariesTest, TheTrayMenuIsTranslated)
{
    const auto firstItem = [](HINSTANCE module) {
        const HMENU menu = ::LoadMenuA(module, MAKEINTRESOURCEA(IDR_TRAY_MENU));
        char text[64] = {};
        ::GetMenuStringA(::GetSubMenu(menu, 0), ID_TRAY_ABOUT, text, sizeof text, MF_BYCOMMAND);
        ::DestroyMenu(menu);
        return std::string(text);
    };
    const std::string english = firstItem(::GetModuleHandleA(nullptr));
    const std::string translated = firstItem(m_library);
    ASSERT_FALSE(english.empty());
    ASSERT_FALSE(translated.empty());
    EXPECT_NE(english, translated);
}

INSTANTIATE_TEST_SUITE_P(Libraries, LanguageLibrariesTest,
                         ::testing::Values("QuorbelFr.dll", "QuorbelIT.dll"));
