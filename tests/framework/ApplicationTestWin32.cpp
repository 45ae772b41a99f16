// The application's resources with a language library, and the worker
// thread's stop that keeps answering.
#include "framework/Application.h"
#include "framework/WorkerThread.h"
#include "res/resource.h"

#include <gtest/gtest.h>

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

TEST(WorkerThreadTest, StopAnswersMessagesTheWorkerSendsMeanwhile)
{
    const HWND target = ::CreateWindowA("STATIC", "worker target", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
    CWorkerThread worker;
    // The worker keeps sending to this thread's window until told to stop,
    // and sends once more after the stop event: a plain wait would hang.
    ASSERT_TRUE(worker.Start([&](HANDLE stop) {
        while (::WaitForSingleObject(stop, 1) == WAIT_TIMEOUT)
            ::SendMessageA(target, WM_NULL, 0, 0);
        ::SendMessageA(target, WM_NULL, 0, 0);
    }));
    EXPECT_TRUE(worker.Stop(10000));
    ::DestroyWindow(target);
}
