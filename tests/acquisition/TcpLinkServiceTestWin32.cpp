#include "acquisition/SocketApi.h"
#include "acquisition/SocketLinkBase.h"

#include <gtest/gtest.h>

// The Windows build has a services database; the native test machine may
// have none, so service names are checked here.
TEST(TcpLinkService, LooksServiceNamesUpInTheServicesDatabase)
{
    ASSERT_TRUE(SocketApi::Startup());
    EXPECT_EQ(80, CSocketLinkBase::ResolveService("http"));
    SocketApi::Cleanup();
}
