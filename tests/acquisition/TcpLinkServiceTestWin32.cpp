#include "acquisition/SocketLinkBase.h"

#include <gtest/gtest.h>

// The Windows build has a services database; the native test machine may
// have none, so service names are checked here (sockets are started by the
// environment of TcpLinkTest.cpp).
TEST(TcpLinkService, LooksServiceNamesUpInTheServicesDatabase)
{
    EXPECT_EQ(80, CSocketLinkBase::ResolveService("http"));
}
