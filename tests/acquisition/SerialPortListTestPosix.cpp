#include "acquisition/SerialPortList.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

// Natively the ports are the entries named after them in the working directory.
TEST(SerialPortListDirectoryTest, ListsThePortEntriesOfTheWorkingDirectory)
{
    CTempDir dir;
    for (const char* name : {"COM10", "notes.txt", "COM3", "com4", "COM1"})
        std::ofstream(dir.Join(name)).put('\n');
    const CSerialPortList list;
    std::vector<std::string> names;
    for (int i = 0; i < list.GetCount(); ++i)
        names.emplace_back(list.GetAt(i));
    EXPECT_EQ((std::vector<std::string>{"COM1", "COM3", "COM10"}), names);
}
