// Windows and dialogs of the framework: messages reach the object that
// owns the window, under Wine with real windows.
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/Window.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace
{
const UINT kEcho = WM_APP + 1;

class CEchoWindow : public CWindow
{
public:
    int m_created = 0;
    int m_destroyed = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CREATE)
            ++m_created;
        if (message == WM_DESTROY)
            ++m_destroyed;
        if (message == kEcho)
            return static_cast<LRESULT>(wParam) * 2;
        return CWindow::WindowProc(message, wParam, lParam);
    }
};

// The field name template (one edit, OK and Cancel) with handlers that
// record what reached them.
class CProbeDialog : public CDialog
{
public:
    CProbeDialog() : CDialog(IDD_FIELD_NAME, nullptr) {}

    int m_commands = 0;
    int m_timerTicks = 0;
    int m_destroyed = 0;
    int m_number = 7;
    bool m_tickUntilEnd = false;

protected:
    BOOL OnInitDialog() override
    {
        if (m_tickUntilEnd)
            ::SetTimer(m_hWnd, 5, 10, nullptr);
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange& dx) override
    {
        dx.IntRange(IDC_FIELD_NAME, m_number, 1, 9);
    }
    bool OnCommand(int id, int, HWND) override
    {
        if (id == IDC_FIELD_NAME)
            ++m_commands;
        return false;
    }
    void OnTimer(UINT_PTR id) override
    {
        if (id == 5 && ++m_timerTicks == 3)
            EndDialog(42);
    }
    void OnDestroy() override { ++m_destroyed; }
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override
    {
        if (message != kEcho)
            return false;
        result = 99;
        return true;
    }
};
}

TEST(WindowTest, MessagesReachTheObjectFromCreationToDestruction)
{
    CEchoWindow window;
    ASSERT_TRUE(window.Create("probe", WS_OVERLAPPEDWINDOW, 0, RECT{0, 0, 200, 100}, nullptr));
    EXPECT_EQ(1, window.m_created);
    EXPECT_EQ(42, ::SendMessageA(window.GetSafeHwnd(), kEcho, 21, 0));
    ::DestroyWindow(window.GetSafeHwnd());
    EXPECT_EQ(1, window.m_destroyed);
    EXPECT_EQ(nullptr, window.GetSafeHwnd());
}

TEST(WindowTest, ASubclassedControlReportsToItsObject)
{
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    CEchoWindow edit;
    ASSERT_TRUE(edit.SubclassDlgItem(IDC_FIELD_NAME, dialog.GetSafeHwnd()));
    EXPECT_EQ(8, ::SendMessageA(edit.GetSafeHwnd(), kEcho, 4, 0));
    // Messages it does not handle still reach the edit itself.
    ::SetWindowTextA(edit.GetSafeHwnd(), "text");
    EXPECT_EQ("text", CWindow::GetText(edit.GetSafeHwnd()));
}

TEST(DialogTest, ModelessDialogRoutesItsMessagesAndEscapeReadsNoControl)
{
    for (const WPARAM button : {MAKEWPARAM(IDCANCEL, 0), MAKEWPARAM(IDOK, BN_CLICKED)}) {
        CProbeDialog dialog;
        ASSERT_TRUE(dialog.Create());
        const HWND hWnd = dialog.GetSafeHwnd();
        EXPECT_EQ("7", dialog.GetDlgItemText(IDC_FIELD_NAME));
        dialog.SetDlgItemText(IDC_FIELD_NAME, "3");   // EN_CHANGE reaches OnCommand
        EXPECT_GE(dialog.m_commands, 1);
        EXPECT_EQ(99, ::SendMessageA(hWnd, kEcho, 0, 0));
        ::SendMessageA(hWnd, WM_COMMAND, button, 0);
        const bool ok = LOWORD(button) == IDOK;
        EXPECT_EQ(LOWORD(button), dialog.GetResult());
        EXPECT_EQ(ok ? 3 : 7, dialog.m_number);
        EXPECT_EQ(1, dialog.m_destroyed);
        EXPECT_FALSE(::IsWindow(hWnd));
    }
}

TEST(DialogTest, DoModalRunsUntilAHandlerEndsIt)
{
    static CProbeDialog* s_running = nullptr;
    CProbeDialog dialog;
    dialog.m_tickUntilEnd = true;
    s_running = &dialog;
    struct Guard
    {
        // Ends a run that the dialog's own timer failed to end.
        static void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) { s_running->EndDialog(-2); }
    };
    const UINT_PTR guard = ::SetTimer(nullptr, 0, 10000, Guard::GiveUp);
    EXPECT_EQ(42, dialog.DoModal());
    ::KillTimer(nullptr, guard);
    EXPECT_EQ(3, dialog.m_timerTicks);
    EXPECT_EQ(1, dialog.m_destroyed);
}
