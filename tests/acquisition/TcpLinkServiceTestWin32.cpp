#include "acquisition/SocketApi.h"
#include "acquisition/SocketLinkBase.h"

#include <gtest/gtest.h>

// The Windows build has a services database; the native test machine may
// have none, so service names are checked here.
TEST(TcpLinkService, LooksServiceNamesUpInTheServicesDatabase)
{
    ASSERT_TRUE(SocketApi::Startup());
    EXPECT_EQ(80, CSocketLinkBase::ResolveService("http"));
    EXPECT_EQ(21, CSocketLinkBase::ResolveService("ftp"));
    EXPECT_EQ(23, CSocketLinkBase::ResolveService("telnet"));
    EXPECT_EQ(0, CSocketLinkBase::ResolveService("not-a-service"));
    SocketAddress address;
    ASSERT_TRUE(CSocketLinkBase::MakeAddress(address, "127.0.0.1", "http", SocketApi::kInet));
    const auto* bytes = reinterpret_cast<const unsigned char*>(&address);
    EXPECT_EQ(0, bytes[2]);
    EXPECT_EQ(80, bytes[3]);
    SocketApi::Cleanup();
}
