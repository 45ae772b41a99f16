// The application services: resources, the registry profile, the worker
// thread and its stop that keeps answering.
#include "framework/Application.h"
#include "framework/WorkerThread.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace
{
const std::string kSection = "FrameworkTest";

class CDeleteProfileSection
{
public:
    ~CDeleteProfileSection()
    {
        ::RegDeleteKeyA(HKEY_CURRENT_USER, (CApplication::RegistryKey() + "\\" + kSection).c_str());
    }
};
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

TEST(ApplicationTest, AProfileValueOfTheOtherKindIsNotTaken)
{
    CDeleteProfileSection cleanup;
    EXPECT_EQ(-3, CApplication::GetProfileInt(kSection, "Missing", -3));
    ASSERT_TRUE(CApplication::WriteProfileInt(kSection, "Number", 1234));
    ASSERT_TRUE(CApplication::WriteProfileBinary(kSection, "WindowPlacement", {1, 2, 3}));
    EXPECT_TRUE(CApplication::GetProfileBinary(kSection, "Number").empty());
    EXPECT_EQ(5, CApplication::GetProfileInt(kSection, "WindowPlacement", 5));
}

TEST(WorkerThreadTest, StopAnswersMessagesTheWorkerSendsMeanwhile)
{
    const HWND target = ::CreateWindowA("STATIC", "worker target", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
    CWorkerThread worker;
    std::atomic<bool> started{false};
    // The worker keeps sending to this thread's window until told to stop,
    // and sends once more after the stop event: a plain wait would hang.
    ASSERT_TRUE(worker.Start([&](HANDLE stop) {
        started = true;
        while (::WaitForSingleObject(stop, 1) == WAIT_TIMEOUT)
            ::SendMessageA(target, WM_NULL, 0, 0);
        ::SendMessageA(target, WM_NULL, 0, 0);
    }));
    while (!started)
        ::Sleep(1);
    EXPECT_TRUE(worker.IsRunning());
    EXPECT_FALSE(worker.Start([](HANDLE) {}));
    EXPECT_TRUE(worker.Stop(10000));
    EXPECT_FALSE(worker.IsRunning());
    ::DestroyWindow(target);
}

TEST(WorkerThreadTest, StopGivesUpAfterItsTimeout)
{
    HANDLE release = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CWorkerThread worker;
    ASSERT_TRUE(worker.Start([release](HANDLE) { ::WaitForSingleObject(release, 10000); }));
    EXPECT_FALSE(worker.Stop(50));
    ::SetEvent(release);
    EXPECT_TRUE(worker.Stop(10000));
    ::CloseHandle(release);
}
