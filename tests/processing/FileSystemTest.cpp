#include "processing/FileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

TEST(FileSystem, BackslashPathsNameTheSameFoldersOnBothBuildsAndAppendKeepsEveryByte)
{
    CTempDir dir;
    EXPECT_TRUE(FileSystem::CreateDir("A"));
    EXPECT_FALSE(FileSystem::CreateDir("A"));
    EXPECT_TRUE(FileSystem::Exists(FileSystem::CurrentDirectory() + "\\A\\"));

    ASSERT_TRUE(FileSystem::AppendToFile("A\\log.txt", "one\r\n"));
    ASSERT_TRUE(FileSystem::AppendToFile("A\\log.txt", std::string("t\0o\n", 4)));
    EXPECT_EQ(dir.Read("A/log.txt"), std::string("one\r\nt\0o\n", 9));
    EXPECT_FALSE(FileSystem::AppendToFile("nowhere\\log.txt", "x"));
#ifndef _WIN32
    // A file size limit cuts the write as a full disk does.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const rlimit tight{12, old.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tight);
    const bool cut = FileSystem::AppendToFile("A\\log.txt", "cut line\r\n");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(cut);
    EXPECT_EQ(dir.Read("A/log.txt"), std::string("one\r\nt\0o\n", 9));
#endif
}
