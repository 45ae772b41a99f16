#include "acquisition/SerialPortList.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace
{
using Names = std::vector<std::string>;

Names NamesOf(const CSerialPortList& list)
{
    Names names;
    for (int i = 0; i < list.GetCount(); ++i)
        names.emplace_back(list.GetAt(i));
    return names;
}
}

TEST(SerialPortListTest, KeepsComNamesInStableNumericOrderAndGivesNullOutside)
{
    // The largest number that is not saturated still sorts below those that are.
    const std::string Largest = "COM" + std::to_string(LONG_MAX - 9);
    const struct
    {
        Names found, listed;
    } cases[] = {
        {{"COM3", "COM1", "COM10"}, {"COM1", "COM3", "COM10"}},
        {{"LPT1", "COM7", "com2", "CNCA0", "CO", "COM2", ""}, {"COM2", "COM7"}},
        // "COMX" and "COM" have no number: 0, listed first in the order seen.
        {{"COM5", "COM05", "COMX", "COM4", "COM5A", "COM"}, {"COMX", "COM", "COM4", "COM5", "COM05", "COM5A"}},
        {{"COM99999999999999999999999", "COM2", Largest}, {"COM2", Largest, "COM99999999999999999999999"}},
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.listed, NamesOf(CSerialPortList(c.found))) << c.found.size();
    const CSerialPortList one({"COM1"});
    EXPECT_EQ(nullptr, one.GetAt(1));
    EXPECT_EQ(nullptr, one.GetAt(-1));
}
