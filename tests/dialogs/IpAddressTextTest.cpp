// The server address between the settings' text and the address control.
#include "dialogs/IpAddressText.h"

#include <gtest/gtest.h>

TEST(IpAddressTextTest, DottedFieldsRoundTrip)
{
    uint32_t address = 0;
    ASSERT_TRUE(IpAddressText::Parse("192.168.1.93", address));
    EXPECT_EQ(0xC0A8015Du, address);
    EXPECT_EQ("192.168.1.93", IpAddressText::Format(address));
    ASSERT_TRUE(IpAddressText::Parse("0.0.0.0", address));
    EXPECT_EQ(0u, address);
    EXPECT_EQ("255.255.255.255", IpAddressText::Format(0xFFFFFFFFu));
}

TEST(IpAddressTextTest, AnythingElseIsRefusedAndLeavesTheAddress)
{
    uint32_t address = 7;
    for (const char* text : {"", "1.2.3", "1.2.3.4.", "1.2.3.4.5", "256.1.1.1", "1..2.3",
                             "a.b.c.d", "1.2.3.4 ", "server.example", "1.2.3.0004"}) {
        EXPECT_FALSE(IpAddressText::Parse(text, address)) << text;
        EXPECT_EQ(7u, address) << text;
    }
}
