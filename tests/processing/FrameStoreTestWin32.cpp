#include "processing/FrameStore.h"
#include "tests/processing/TestClock.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>
#include <windows.h>

namespace
{
const std::string Results = "RESULT\\";

struct Writer
{
    Writer() : store(CPendingLines::DefaultBound, clock.Source())
    {
        CreateDirectoryA("RESULT", nullptr);
    }
    unsigned Write(const std::string& frame)
    {
        return store.WriteResult(Results, ".TXT", frame, "", 0, line);
    }

    CTempDir dir;
    CTestClock clock;
    CFrameStore store;
    std::string line;
};

// Another program's handle on the file, such as an editor's or a viewer's;
// empty when the open failed.
struct HandleCloser
{
    void operator()(HANDLE file) const { CloseHandle(file); }
};
using OtherProgram = std::unique_ptr<void, HandleCloser>;

OtherProgram OpenAsOtherProgram(const char* path, DWORD share)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return OtherProgram(file == INVALID_HANDLE_VALUE ? nullptr : file);
}
}

TEST(FrameStoreWin32, AViewerThatSharesTheFileNeverBlocksAppending)
{
    Writer writer;
    ASSERT_EQ(writer.Write("first"), 0u);
    OtherProgram viewer = OpenAsOtherProgram("RESULT\\2026-12-05.TXT", FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(viewer);
    EXPECT_EQ(writer.Write("second"), 0u);
    viewer.reset();
    EXPECT_EQ(ReadBytes("RESULT\\2026-12-05.TXT"), "first\r\nsecond\r\n");
}

TEST(FrameStoreWin32, AProgramHoldingTheFileWithoutSharingOnlyDelaysTheLine)
{
    Writer writer;
    writer.clock.Set(2026, 12, 5, 23, 59, 58);
    ASSERT_EQ(writer.Write("first"), 0u);
    OtherProgram editor = OpenAsOtherProgram("RESULT\\2026-12-05.TXT", 0);
    ASSERT_TRUE(editor);

    writer.clock.Set(2026, 12, 5, 23, 59, 59);
    EXPECT_EQ(writer.Write("second"), 65535u);
    EXPECT_EQ(writer.line, "second");
    writer.clock.Set(2026, 12, 6, 0, 0, 1);
    EXPECT_EQ(writer.Write("third"), 0u);
    EXPECT_EQ(writer.store.PendingCount(), 1u);

    editor.reset();
    EXPECT_EQ(writer.Write("fourth"), 0u);
    EXPECT_EQ(writer.store.PendingCount(), 0u);
    EXPECT_EQ(ReadBytes("RESULT\\2026-12-05.TXT"), "first\r\nsecond\r\n");
    EXPECT_EQ(ReadBytes("RESULT\\2026-12-06.TXT"), "third\r\nfourth\r\n");
}
