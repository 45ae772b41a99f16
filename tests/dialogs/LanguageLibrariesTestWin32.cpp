// The French and Italian libraries carry every dialog of the executable
// with the same controls, translated: a control missing from a library
// would leave its dialog reaching for a window that is not there.
#include "framework/Application.h"
#include "framework/Dialog.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace
{
// The dialog's control identifiers in their order, and its caption and
// every control's text.
std::pair<std::vector<int>, std::string> ShowDialog(int templateId)
{
    CDialog dialog(templateId, nullptr);
    std::pair<std::vector<int>, std::string> shown;
    if (!dialog.Create())
        return shown;
    shown.second = CWindow::GetText(dialog.GetSafeHwnd());
    for (HWND child = ::GetWindow(dialog.GetSafeHwnd(), GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        shown.first.push_back(::GetDlgCtrlID(child));
        shown.second += "|" + CWindow::GetText(child);
    }
    return shown;
}
}

TEST(LanguageLibrariesTest, EveryDialogHasTheExecutablesControls)
{
    for (const char* name : {"QuorbelFr.dll", "QuorbelIT.dll"}) {
        const HMODULE library = ::LoadLibraryA(name);
        ASSERT_NE(nullptr, library) << name;
        for (const int id : {IDD_SETUP, IDD_FIELD_NAME, IDD_PRINT_SETUP, IDD_SERIAL_SETUP,
                             IDD_ABOUTBOX, IDD_RECEIVER_DIALOG}) {
            CApplication::SetResourceHandle(nullptr);
            const auto english = ShowDialog(id);
            CApplication::SetResourceHandle(library);
            const auto translated = ShowDialog(id);
            EXPECT_EQ(english.first, translated.first) << name << " " << id;
            EXPECT_NE(english.second, translated.second) << name << " " << id;
        }
        CApplication::SetResourceHandle(nullptr);
        ::FreeLibrary(library);
    }
}
