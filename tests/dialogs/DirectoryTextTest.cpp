// The folder chosen in the setup dialog's browser as a results directory.
#include "dialogs/DirectoryText.h"

#include <gtest/gtest.h>

TEST(DirectoryTextTest, AChosenFolderGetsItsBackslash)
{
    EXPECT_EQ("C:\\Data\\", DirectoryText::FromChosenFolder("C:\\Data"));
    EXPECT_EQ("C:\\Data\\", DirectoryText::FromChosenFolder("  C:\\Data\\ \t"));
    EXPECT_EQ("C:\\", DirectoryText::FromChosenFolder("C:\\"));
    EXPECT_EQ("\\\\server\\share\\", DirectoryText::FromChosenFolder("\\\\server\\share"));
}

TEST(DirectoryTextTest, NothingChosenStaysEmpty)
{
    EXPECT_EQ("", DirectoryText::FromChosenFolder(""));
    EXPECT_EQ("", DirectoryText::FromChosenFolder(" \t "));
}
