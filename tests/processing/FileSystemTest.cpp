#include "processing/FileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

TEST(FileSystem, BackslashPathsNameTheSameFoldersOnBothBuildsAndAppendKeepsEveryByte)
{
    CTempDir dir;
    EXPECT_FALSE(FileSystem::Exists("A"));
    EXPECT_TRUE(FileSystem::CreateDir("A"));
    EXPECT_FALSE(FileSystem::CreateDir("A"));
    EXPECT_TRUE(FileSystem::CreateDir("A\\B"));
    EXPECT_TRUE(FileSystem::Exists("A\\B\\"));
    EXPECT_TRUE(FileSystem::Exists(FileSystem::CurrentDirectory() + "\\A\\B"));
    EXPECT_FALSE(FileSystem::CreateDir("missing\\child"));

    ASSERT_TRUE(FileSystem::AppendToFile("A\\log.txt", "one\r\n"));
    ASSERT_TRUE(FileSystem::AppendToFile("A\\log.txt", std::string("t\0o\n", 4)));
    EXPECT_EQ(dir.Read("A/log.txt"), std::string("one\r\nt\0o\n", 9));
    EXPECT_FALSE(FileSystem::AppendToFile("nowhere\\log.txt", "x"));
}
