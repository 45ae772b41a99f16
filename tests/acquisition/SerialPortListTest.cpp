#include "acquisition/SerialPortList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<std::string> Names(const CSerialPortList& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.GetCount(); ++i)
        names.emplace_back(list.GetAt(i));
    return names;
}

using Names_t = std::vector<std::string>;
}

TEST(SerialPortListTest, NumericOrderNotTextOrder)
{
    const CSerialPortList list({"COM3", "COM1", "COM10"});
    EXPECT_EQ(Names_t({"COM1", "COM3", "COM10"}), Names(list));
}

TEST(SerialPortListTest, OnlyNamesBeginningWithComAreKept)
{
    const CSerialPortList list({"LPT1", "COM7", "com2", "CNCA0", "CO", "COM2", ""});
    EXPECT_EQ(Names_t({"COM2", "COM7"}), Names(list));
}

TEST(SerialPortListTest, EqualNumbersKeepTheirEnumerationOrder)
{
    const CSerialPortList list({"COM5", "COM05", "COMX", "COM4", "COM5A", "COM"});
    // "COMX" and "COM" have no number: 0, listed first in the order seen.
    EXPECT_EQ(Names_t({"COMX", "COM", "COM4", "COM5", "COM05", "COM5A"}), Names(list));
}

TEST(SerialPortListTest, HugeNumbersSortLast)
{
    const CSerialPortList list({"COM99999999999999999999999", "COM2"});
    EXPECT_EQ(Names_t({"COM2", "COM99999999999999999999999"}), Names(list));
}

TEST(SerialPortListTest, EmptyListAndIndicesOutside)
{
    const CSerialPortList empty(std::vector<std::string>{});
    EXPECT_EQ(0, empty.GetCount());
    EXPECT_EQ(nullptr, empty.GetAt(0));
    const CSerialPortList list({"COM1"});
    EXPECT_STREQ("COM1", list.GetAt(0));
    EXPECT_EQ(nullptr, list.GetAt(1));
    EXPECT_EQ(nullptr, list.GetAt(-1));
}
