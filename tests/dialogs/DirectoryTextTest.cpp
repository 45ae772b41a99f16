// The folder chosen in the setup dialog's browser as a results directory.
#include "dialogs/DirectoryText.h"

#include <gtest/gtest.h>

TEST(DirectoryTextTest, AChosenFolderGetsItsBackslashAndNothingChosenStaysEmpty)
{
    const char* const cases[][2] = {{"C:\\Data", "C:\\Data\\"},
                                    {"  C:\\Data\\ \t", "C:\\Data\\"},
                                    {"C:\\", "C:\\"},
                                    {"\\\\server\\share", "\\\\server\\share\\"},
                                    {"", ""},
                                    {" \t ", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(c[1], DirectoryText::FromChosenFolder(c[0])) << c[0];
}
