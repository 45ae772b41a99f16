// The framework under Wine with real windows: messages reach the object
// that owns the window, the application's resources come with a language
// library, and tasks posted from other threads run on the window's.
#include "framework/Application.h"
#include "framework/Dialog.h"
#include "framework/Window.h"
#include "res/resource.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace
{
// Counts its WM_DESTROY in a counter that outlives it.
class CDestroyCountingWindow : public CWindow
{
public:
    explicit CDestroyCountingWindow(int& destroyed) : m_destroyed(destroyed) {}
    int& m_destroyed;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        m_destroyed += message == WM_DESTROY;
        return CWindow::WindowProc(message, wParam, lParam);
    }
};

// The field name template (one edit, OK and Cancel): a key waits for its
// modal loop, and its own timer asks for the drag icon and ends it; its
// handlers record what reached them.
class CProbeDialog : public CDialog
{
public:
    CProbeDialog() : CDialog(IDD_FIELD_NAME, nullptr) {}

    int m_keys = 0;
    LRESULT m_dragIcon = 0;

protected:
    BOOL OnInitDialog() override
    {
        ::PostMessageA(m_hWnd, WM_KEYDOWN, 'A', 0x001E0001);
        ::SetTimer(m_hWnd, 5, 10, nullptr);
        return CDialog::OnInitDialog();
    }
    void OnTimer(UINT_PTR) override
    {
        m_dragIcon = ::SendMessageA(m_hWnd, WM_QUERYDRAGICON, 0, 0);
        EndDialog(42);
    }
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override
    {
        m_keys += message == WM_KEYDOWN;
        if (message != WM_QUERYDRAGICON)
            return false;
        result = reinterpret_cast<LRESULT>(::LoadIcon(nullptr, IDI_APPLICATION));
        return true;
    }
};

// Eats every key before a modal loop dispatches it.
class CKeyEatingApp : public CApplication
{
public:
    int m_eaten = 0;

protected:
    BOOL PreTranslateMessage(MSG* message) override
    {
        return message->message == WM_KEYDOWN && ++m_eaten;
    }
};
}

TEST(WindowTest, TheOwnerDestroysTheWindowWhileTheWholeObjectHearsIt)
{
    int destroyed = 0;
    HWND leftOpen = nullptr;
    {
        CDestroyCountingWindow window(destroyed);
        ASSERT_TRUE(window.Create("owned", WS_OVERLAPPED, 0, RECT{0, 0, 50, 50}, nullptr));
        window.DestroyWindow();
        EXPECT_EQ(1, destroyed);
        EXPECT_EQ(nullptr, window.GetSafeHwnd());
        ASSERT_TRUE(window.Create("left open", WS_OVERLAPPED, 0, RECT{0, 0, 50, 50}, nullptr));
        leftOpen = window.GetSafeHwnd();
    }
    // The base destructor lets go before it destroys: the derived handler,
    // already gone, is never called, and the window does not outlive it.
    EXPECT_EQ(1, destroyed);
    EXPECT_FALSE(::IsWindow(leftOpen));
}

// Tasks come from two threads at once, each thread's in its order, every
// one on the window's thread, none before the window's messages are
// handled; the tasks of a destroyed window are dropped.
TEST(WindowTest, PostedTasksRunOnTheWindowsThreadInOrder)
{
    int destroyed = 0;
    CDestroyCountingWindow window(destroyed);
    ASSERT_TRUE(window.Create("posted", WS_OVERLAPPED, 0, RECT{0, 0, 50, 50}, nullptr));
    const DWORD windowThread = ::GetCurrentThreadId();
    constexpr int kTasks = 20000;
    std::vector<int> ran[2];
    int elsewhere = 0;
    auto poster = [&](int which) {
        for (int i = 0; i < kTasks; ++i)
            window.Post([&, which, i] {
                ran[which].push_back(i);
                elsewhere += ::GetCurrentThreadId() != windowThread;
            });
    };
    std::thread first(poster, 0), second(poster, 1);
    first.join();
    second.join();
    EXPECT_TRUE(ran[0].empty());
    MSG message;
    const DWORD start = ::GetTickCount();
    while (ran[0].size() + ran[1].size() < 2 * kTasks && ::GetTickCount() - start < 10000)
        if (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&message);
    for (const std::vector<int>& tasks : ran) {
        ASSERT_EQ(size_t{kTasks}, tasks.size());
        EXPECT_TRUE(std::is_sorted(tasks.begin(), tasks.end()));
    }
    EXPECT_EQ(0, elsewhere);
    window.Post([&] { ++elsewhere; });
    window.DestroyWindow();
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&message);
    EXPECT_EQ(0, elsewhere);
}

// The drag icon (the main window's) is the dialog procedure's own result,
// not DWLP_MSGRESULT.
TEST(DialogTest, DoModalRunsUntilAHandlerEndsItAndTheApplicationSeesMessagesFirst)
{
    CKeyEatingApp application;
    CProbeDialog dialog;
    EXPECT_EQ(42, dialog.DoModal());
    EXPECT_EQ(1, application.m_eaten);
    EXPECT_EQ(0, dialog.m_keys);
    EXPECT_EQ(reinterpret_cast<LRESULT>(::LoadIcon(nullptr, IDI_APPLICATION)), dialog.m_dragIcon);
}

TEST(ApplicationTest, ALanguageLibraryOverridesWhatItHolds)
{
    const HMODULE library = ::LoadLibraryA("framework_test_language.dll");
    ASSERT_NE(nullptr, library);
    CApplication::SetResourceHandle(library);
    EXPECT_EQ("Aucun champ choisi !!!", CApplication::LoadString(IDS_NO_FIELDS_SELECTED));
    // What the library leaves out still comes from the executable.
    EXPECT_EQ("Frame format error !!!", CApplication::LoadString(IDS_FRAME_FORMAT_ERROR));
    const HICON icon = CApplication::LoadSmallIcon(IDI_OK);
    EXPECT_NE(nullptr, icon);
    ::DestroyIcon(icon);
    CApplication::SetResourceHandle(nullptr);
    ::FreeLibrary(library);
    EXPECT_EQ("No fields selected !!!", CApplication::LoadString(IDS_NO_FIELDS_SELECTED));
}
