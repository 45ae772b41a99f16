#include "processing/FileSystem.h"
#include "processing/IniFile.h"
#include "tests/support/TempDir.h"

#include <climits>
#include <gtest/gtest.h>
#include <utility>

TEST(IniFile, ASectionGivenOnceStaysCurrent)
{
    CTempDir dir;
    CIniFile ini("test.ini", 0);
    EXPECT_EQ(ini.GetSection(), "Quorbel");
    ini.WriteString("Key", "first", "One");
    ini.WriteInt("Count", -12, "");
    EXPECT_EQ(ini.GetSection(), "One");
    EXPECT_EQ(ini.ReadInt("Count", 5, ""), -12);
    EXPECT_EQ(ini.ReadString("Key", "Two", "none"), "none");
    EXPECT_EQ(ini.ReadString("Key", "One"), "first");
    EXPECT_EQ(ini.ReadString("Missing", ""), "");
}

TEST(IniFile, ShortArraysUseNumberedKeysAndCutTo16Bits)
{
    CTempDir dir;
    CIniFile ini("test.ini", 0);
    ini.WriteString("Flag_1", "65537", "S");
    ini.WriteString("Flag_2", "-32769", "S");
    int16_t flags[3] = {9, 9, 9};
    ini.ExchangeShortArray(true, flags, 3, "Flag", "S", 4);
    EXPECT_EQ(flags[0], 4);
    EXPECT_EQ(flags[1], 1);
    EXPECT_EQ(flags[2], 32767);

    flags[0] = -1;
    ini.ExchangeShortArray(false, flags, 3, "Flag", "S", 0);
    EXPECT_EQ(ini.ReadString("Flag_0", "S"), "-1");
}

TEST(IniFile, NumbersReadLikeAtoi)
{
    const std::pair<const char*, int> cases[] = {
        {"42", 42}, {"  -7x", -7}, {"+3", 3}, {"abc", 0}, {"", 0}, {"-", 0},
        {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN}, {"-2147483648", INT_MIN}};
    for (const auto& c : cases)
        EXPECT_EQ(AtoiLike(c.first), c.second) << c.first;
}

TEST(IniFile, RelativePathsCountFromTheWorkingDirectory)
{
    CTempDir dir;
    CIniFile ini("rel.ini", 0);
    EXPECT_EQ(ini.GetPath(), FileSystem::CurrentDirectory() + "\\rel.ini");
    const std::string absolute = FileSystem::CurrentDirectory() + "\\abs.ini";
    EXPECT_EQ(MakeAbsolutePath(absolute, 0), absolute);
    EXPECT_EQ(MakeAbsolutePath("C:\\x.ini", 1), "C:\\x.ini");
    // The default file is named after the program, here the test program.
    const std::string module = FileSystem::ModuleFileName();
    EXPECT_EQ(DefaultIniPath(0), FileSystem::CurrentDirectory() + "\\processing_tests.ini");
    EXPECT_EQ(DefaultIniPath(1), module.substr(0, module.rfind("processing_tests")) + "processing_tests.ini");
}

TEST(IniFile, DirectoryPathsAreCreatedLevelByLevel)
{
    CTempDir dir;
    std::string path = "A\\B\\C";
    EnsureTrailingBackslash(path);
    EnsureTrailingBackslash(path);
    EXPECT_EQ(path, "A\\B\\C\\");
    CreateDirectoryPath(path);
    EXPECT_TRUE(FileSystem::Exists("A\\B\\C"));
    CreateDirectoryPath("Single");
    EXPECT_FALSE(FileSystem::Exists("Single"));
}
