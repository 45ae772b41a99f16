// The serial port setup lists: what each item shows and stores.
#include "dialogs/SerialChoices.h"

#include <gtest/gtest.h>

using namespace SerialChoices;

TEST(SerialChoicesTest, EveryShownRateIsTheRateStored)
{
    for (const Choice& rate : BaudRates()) {
        if (rate.text[0] != '\0') {
            EXPECT_EQ(std::to_string(rate.value), rate.text);
            EXPECT_EQ(&rate - BaudRates().data(), IndexOfValue(BaudRates(), rate.value));
        }
    }
    EXPECT_EQ(-1, IndexOfValue(BaudRates(), 14400));
}

TEST(SerialChoicesTest, EmptyItemsAndNoSelection)
{
    const int emptyRate = static_cast<int>(BaudRates().size()) - 1;
    EXPECT_EQ(std::string(), BaudRates()[static_cast<size_t>(emptyRate)].text);
    EXPECT_EQ(4800, ValueAt(BaudRates(), emptyRate, 4800));
    EXPECT_EQ(2, ValueAt(Parities(), -1, 2));
    EXPECT_EQ(-1, IndexOfValue(BaudRates(), -1));
    // The empty handshake item stores three.
    EXPECT_EQ(3, ValueAt(Handshakes(), 3, 0));
    EXPECT_EQ(3, IndexOfValue(Handshakes(), 3));
    EXPECT_EQ(-1, IndexOfValue(Handshakes(), 4));
}
