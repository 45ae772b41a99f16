// The serial port setup lists: what each item shows and stores.
#include "dialogs/SerialChoices.h"

#include <gtest/gtest.h>

using namespace SerialChoices;

TEST(SerialChoicesTest, EveryShownRateIsTheRateStored)
{
    for (const Choice& rate : BaudRates()) {
        if (rate.text[0] != '\0') {
            EXPECT_EQ(std::to_string(rate.value), rate.text);
        }
    }
    EXPECT_EQ(2, IndexOfValue(BaudRates(), 38400));
    EXPECT_EQ(4, IndexOfValue(BaudRates(), 24400));
    EXPECT_EQ(-1, IndexOfValue(BaudRates(), 14400));
}

TEST(SerialChoicesTest, TheEmptyRateAndNoSelectionKeepThePreviousValue)
{
    const int emptyItem = static_cast<int>(BaudRates().size()) - 1;
    EXPECT_EQ(std::string(), BaudRates()[static_cast<size_t>(emptyItem)].text);
    EXPECT_EQ(4800, ValueAt(BaudRates(), emptyItem, 4800));
    EXPECT_EQ(4800, ValueAt(BaudRates(), -1, 4800));
    EXPECT_EQ(-1, IndexOfValue(BaudRates(), -1));
    EXPECT_EQ(2, ValueAt(Parities(), -1, 2));
}

TEST(SerialChoicesTest, StopBitsAndParityStoreDcbCodes)
{
    EXPECT_EQ(1, ValueAt(StopBits(), 1, 0));    // "1.5"
    EXPECT_EQ(2, ValueAt(StopBits(), 2, 0));    // "2"
    EXPECT_EQ(2, IndexOfValue(Parities(), 2));  // EVEN
    EXPECT_EQ(7, ValueAt(DataBits(), 1, 8));
}

TEST(SerialChoicesTest, TheEmptyHandshakeItemStoresThree)
{
    ASSERT_EQ(4u, Handshakes().size());
    EXPECT_EQ(3, ValueAt(Handshakes(), 3, 0));
    EXPECT_EQ(3, IndexOfValue(Handshakes(), 3));
    EXPECT_EQ(-1, IndexOfValue(Handshakes(), 4));
}
