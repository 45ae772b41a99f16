#include "processing/FileSystem.h"
#include "tests/support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace
{
std::string ReadAll(const std::string& hostPath)
{
    std::ifstream in(hostPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
}

TEST(FileSystem, BackslashPathsNameTheSameFoldersOnBothBuilds)
{
    CTempDir dir;
    EXPECT_FALSE(FileSystem::Exists("A"));
    EXPECT_TRUE(FileSystem::CreateDir("A"));
    EXPECT_FALSE(FileSystem::CreateDir("A"));
    EXPECT_TRUE(FileSystem::CreateDir("A\\B"));
    EXPECT_TRUE(FileSystem::Exists("A\\B"));
    EXPECT_TRUE(FileSystem::Exists("A\\B\\"));
    EXPECT_FALSE(FileSystem::CreateDir("missing\\child"));
}

TEST(FileSystem, AppendKeepsEveryByteAndCreatesTheFile)
{
    CTempDir dir;
    ASSERT_TRUE(FileSystem::AppendToFile("log.txt", "one\r\n"));
    ASSERT_TRUE(FileSystem::AppendToFile("log.txt", std::string("t\0o\n", 4)));
    EXPECT_EQ(ReadAll(dir.Join("log.txt")), std::string("one\r\nt\0o\n", 9));
    EXPECT_FALSE(FileSystem::AppendToFile("nowhere\\log.txt", "x"));
}

TEST(FileSystem, WorkingDirectoryIsTheTestsFolder)
{
    CTempDir dir;
    ASSERT_TRUE(FileSystem::CreateDir("Probe"));
    EXPECT_TRUE(FileSystem::Exists(FileSystem::CurrentDirectory() + "\\Probe"));
    EXPECT_FALSE(FileSystem::ModuleFileName().empty());
}
