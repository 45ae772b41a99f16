#include "processing/FrameStore.h"
#include "tests/processing/TestClock.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <windows.h>

// A viewer or editor that opens the day file with full sharing must never
// keep lines from it.
TEST(FrameStoreWin32, AViewerThatSharesTheFileNeverBlocksAppending)
{
    CTempDir dir;
    CTestClock clock;
    CFrameStore store(CPendingLines::DefaultBound, clock.Source());
    std::string line;
    ASSERT_EQ(store.WriteResult("RESULT\\", ".TXT", "first", "", 0, line), 0u);
    const HANDLE viewer = CreateFileA("RESULT\\2026-12-05.TXT", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(store.WriteResult("RESULT\\", ".TXT", "second", "", 0, line), 0u);
    CloseHandle(viewer);
    EXPECT_EQ(ReadBytes("RESULT\\2026-12-05.TXT"), "first\r\nsecond\r\n");
}
