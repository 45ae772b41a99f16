#include "processing/FileSystem.h"
#include "processing/IniFile.h"
#include "tests/support/TempDir.h"

#include <climits>
#include <gtest/gtest.h>
#include <utility>

TEST(IniFile, NumbersReadLikeAtoi)
{
    const std::pair<const char*, int> cases[] = {
        {"42", 42}, {"  -7x", -7}, {"+3", 3}, {"abc", 0}, {"", 0}, {"-", 0},
        {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN}, {"-2147483648", INT_MIN},
        // One past the largest long long: read on, it would wrap round to negative.
        {"9223372036854775808", INT_MAX}};
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
