#include "tools/vorlsim/SimOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::string ErrorOf(const std::vector<std::string>& args)
{
    CSimOptions options;
    std::string error;
    EXPECT_FALSE(options.Parse(args, error));
    return error;
}
}

TEST(VorlsimOptions, ReadsEveryOptionOfBothModes)
{
    CSimOptions tcp;
    std::string error;
    ASSERT_TRUE(tcp.Parse({"tcp", "--host", "0.0.0.0", "--port", "4001", "--count", "25", "--rate", "2.5",
                           "--clients", "3", "--separator", "tab", "--terminator", "etx", "--stx", "--chunk",
                           "17", "--seed", "9", "--echo"},
                          error))
        << error;
    EXPECT_EQ(CSimOptions::Mode::Tcp, tcp.mode);
    EXPECT_EQ("0.0.0.0", tcp.host);
    EXPECT_EQ(4001, tcp.port);
    EXPECT_EQ(25u, tcp.count);
    EXPECT_DOUBLE_EQ(2.5, tcp.rate);
    EXPECT_EQ(3u, tcp.clients);
    EXPECT_EQ('\t', tcp.separator);
    EXPECT_EQ("\x03", tcp.terminator);
    EXPECT_TRUE(tcp.stx);
    EXPECT_EQ(CSimOptions::Chunking::Fixed, tcp.chunking);
    EXPECT_EQ(17u, tcp.chunkSize);
    EXPECT_EQ(9u, tcp.seed);
    EXPECT_TRUE(tcp.echo);

    CSimOptions serial;
    ASSERT_TRUE(serial.Parse({"serial", "--device", "/dev/pts/9", "--baud", "19200", "--data", "7",
                              "--parity", "E", "--stop", "2", "--chunk", "random"},
                             error))
        << error;
    EXPECT_EQ(CSimOptions::Mode::Serial, serial.mode);
    EXPECT_EQ("/dev/pts/9", serial.device);
    EXPECT_EQ(19200, serial.baud);
    EXPECT_EQ(7, serial.dataBits);
    EXPECT_EQ('E', serial.parity);
    EXPECT_EQ(2, serial.stopBits);
    EXPECT_EQ(CSimOptions::Chunking::Random, serial.chunking);
    EXPECT_EQ("\r\n", serial.terminator);
    EXPECT_EQ(';', serial.separator);
}

TEST(VorlsimOptions, RefusesUnknownMissingAndOutOfRangeValuesWithAReason)
{
    EXPECT_EQ("the first argument must be tcp or serial", ErrorOf({"udp"}));
    EXPECT_EQ("the first argument must be tcp or serial", ErrorOf({}));
    EXPECT_EQ("unknown option --bogus", ErrorOf({"tcp", "--bogus"}));
    EXPECT_EQ("unknown option --baud", ErrorOf({"tcp", "--baud", "9600"}));
    EXPECT_EQ("unknown option --port", ErrorOf({"serial", "--device", "x", "--port", "1"}));
    EXPECT_EQ("missing value for --count", ErrorOf({"tcp", "--count"}));
    EXPECT_EQ("bad value '65536' for --port", ErrorOf({"tcp", "--port", "65536"}));
    EXPECT_EQ("bad value '-1' for --rate", ErrorOf({"tcp", "--rate", "-1"}));
    EXPECT_EQ("bad value 'pipe' for --separator", ErrorOf({"tcp", "--separator", "pipe"}));
    EXPECT_EQ("bad value '0' for --chunk", ErrorOf({"tcp", "--chunk", "0"}));
    EXPECT_EQ("bad value 'X' for --parity", ErrorOf({"serial", "--device", "x", "--parity", "X"}));
    EXPECT_EQ("bad value '9' for --data", ErrorOf({"serial", "--device", "x", "--data", "9"}));
    EXPECT_EQ("serial needs --device PATH", ErrorOf({"serial", "--baud", "9600"}));
}
