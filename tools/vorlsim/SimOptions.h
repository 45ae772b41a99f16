#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Everything the command line of vorlsim says, checked.
class CSimOptions
{
public:
    enum class Mode { Tcp, Serial };
    enum class Chunking { Frame, Byte, Random, Fixed };

    // False with a one-line reason when an option is unknown, lacks its
    // value or has a value out of range.
    bool Parse(const std::vector<std::string>& args, std::string& error);

    static std::string Usage();

    Mode mode = Mode::Tcp;
    std::string host = "127.0.0.1";
    int port = 10001;
    std::string device;
    int baud = 9600;
    int dataBits = 8;
    char parity = 'N';
    int stopBits = 1;
    uint64_t count = 0;          // 0: without end
    double rate = 0;             // frames per second, 0: as fast as the peer takes them
    uint64_t clients = 0;        // connections served before exiting, 0: without end
    char separator = ';';
    std::string terminator = "\r\n";
    bool stx = false;
    Chunking chunking = Chunking::Frame;
    size_t chunkSize = 0;        // with Chunking::Fixed
    uint32_t seed = 1;
    std::string file;
    bool echo = false;
    std::string readyFile;

private:
    bool ParseOption(const std::string& name, const std::string& value, std::string& error);
    bool ParseLineOption(const std::string& name, const std::string& value, std::string& error);
    bool ParseFrameOption(const std::string& name, const std::string& value, std::string& error);
    static bool TakesValue(const std::string& name);
};
