// The French and Italian libraries carry every dialog of the executable
// with the same controls, translated: a control missing from a library
// would leave its dialog reaching for a window that is not there.
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
}

TEST(LanguageLibrariesTest, EveryDialogHasTheExecutablesControls)
{
    for (const char* name : {"QuorbelFr.dll", "QuorbelIT.dll"}) {
        const HMODULE library = ::LoadLibraryA(name);
        ASSERT_NE(nullptr, library) << name;
        for (const int id : {IDD_SETUP, IDD_FIELD_NAME, IDD_PRINT_SETUP, IDD_SERIAL_SETUP,
                             IDD_ABOUTBOX, IDD_RECEIVER_DIALOG}) {
            CApplication::SetResourceHandle(nullptr);
            const Shown english = ShowDialog(id);
            CApplication::SetResourceHandle(library);
            const Shown translated = ShowDialog(id);
            ASSERT_FALSE(english.controls.empty()) << id;
            EXPECT_EQ(english.controls, translated.controls) << name << " " << id;
            EXPECT_NE(english.texts, translated.texts) << name << " " << id;
        }
        CApplication::SetResourceHandle(nullptr);
        ::FreeLibrary(library);
    }
}
