#include "tools/vorlsim/SimOptions.h"

#include <cstdlib>

namespace
{
bool ParseNumber(const std::string& text, uint64_t lowest, uint64_t highest, uint64_t& value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 18)
        return false;
    value = std::strtoull(text.c_str(), nullptr, 10);
    return value >= lowest && value <= highest;
}

template <typename T>
bool ParseInto(const std::string& text, uint64_t lowest, uint64_t highest, T& target)
{
    uint64_t value = 0;
    if (!ParseNumber(text, lowest, highest, value))
        return false;
    target = static_cast<T>(value);
    return true;
}

bool ParseRate(const std::string& text, double& rate)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(value >= 0) || value > 1e9)
        return false;
    rate = value;
    return true;
}

// The value a name stands for in a table of (name, value) pairs.
template <typename T, typename Stored, size_t N>
bool Lookup(const std::pair<const char*, Stored> (&table)[N], const std::string& name, T& target)
{
    for (const auto& entry : table)
        if (name == entry.first)
        {
            target = entry.second;
            return true;
        }
    return false;
}

bool Fail(std::string& error, const std::string& name, const std::string& value)
{
    error = "bad value '" + value + "' for " + name;
    return false;
}
}

bool CSimOptions::Parse(const std::vector<std::string>& args, std::string& error)
{
    if (args.empty() || (args[0] != "tcp" && args[0] != "serial"))
    {
        error = "the first argument must be tcp or serial";
        return false;
    }
    mode = args[0] == "tcp" ? Mode::Tcp : Mode::Serial;
    for (size_t i = 1; i < args.size(); ++i)
    {
        const std::string& name = args[i];
        std::string value;
        if (TakesValue(name))
        {
            if (i + 1 >= args.size())
            {
                error = "missing value for " + name;
                return false;
            }
            value = args[++i];
        }
        if (!ParseOption(name, value, error))
            return false;
    }
    if (mode == Mode::Serial && device.empty())
    {
        error = "serial needs --device PATH";
        return false;
    }
    return true;
}

bool CSimOptions::TakesValue(const std::string& name)
{
    static const char* const valued[] = {
        "--host",  "--port",   "--clients",   "--ready-file", "--file",       "--count",
        "--rate",  "--seed",   "--device",    "--baud",       "--data",       "--stop",
        "--parity", "--separator", "--terminator", "--chunk"};
    for (const char* known : valued)
        if (name == known)
            return true;
    return false;
}

bool CSimOptions::ParseOption(const std::string& name, const std::string& value, std::string& error)
{
    if (name == "--stx")
        stx = true;
    else if (name == "--echo")
        echo = true;
    else if (name == "--host" && mode == Mode::Tcp)
        host = value;
    else if (name == "--port" && mode == Mode::Tcp)
        return ParseInto(value, 0, 65535, port) || Fail(error, name, value);
    else if (name == "--clients" && mode == Mode::Tcp)
        return ParseInto(value, 0, UINT64_MAX, clients) || Fail(error, name, value);
    else if (name == "--ready-file")
        readyFile = value;
    else if (name == "--file")
        file = value;
    else if (name == "--count")
        return ParseInto(value, 0, UINT64_MAX, count) || Fail(error, name, value);
    else if (name == "--rate")
        return ParseRate(value, rate) || Fail(error, name, value);
    else if (name == "--seed")
        return ParseInto(value, 0, UINT32_MAX, seed) || Fail(error, name, value);
    else if (mode == Mode::Serial)
        return ParseLineOption(name, value, error);
    else
        return ParseFrameOption(name, value, error);
    return true;
}

bool CSimOptions::ParseLineOption(const std::string& name, const std::string& value, std::string& error)
{
    if (name == "--device")
        device = value;
    else if (name == "--baud")
        return ParseInto(value, 50, 4000000, baud) || Fail(error, name, value);
    else if (name == "--data")
        return ParseInto(value, 5, 8, dataBits) || Fail(error, name, value);
    else if (name == "--stop")
        return ParseInto(value, 1, 2, stopBits) || Fail(error, name, value);
    else if (name == "--parity")
    {
        if (value != "N" && value != "O" && value != "E")
            return Fail(error, name, value);
        parity = value[0];
    }
    else
        return ParseFrameOption(name, value, error);
    return true;
}

bool CSimOptions::ParseFrameOption(const std::string& name, const std::string& value, std::string& error)
{
    static const std::pair<const char*, char> separators[] = {
        {"tab", '\t'}, {"semicolon", ';'}, {"comma", ','}, {"space", ' '}};
    static const std::pair<const char*, const char*> terminators[] = {
        {"lf", "\n"}, {"cr", "\r"}, {"crlf", "\r\n"}, {"etx", "\x03"}};
    if (name == "--separator")
        return Lookup(separators, value, separator) || Fail(error, name, value);
    if (name == "--terminator")
        return Lookup(terminators, value, terminator) || Fail(error, name, value);
    if (name == "--chunk")
    {
        if (value == "frame")
            chunking = Chunking::Frame;
        else if (value == "byte")
            chunking = Chunking::Byte;
        else if (value == "random")
            chunking = Chunking::Random;
        else if (ParseInto(value, 1, 1 << 20, chunkSize))
            chunking = Chunking::Fixed;
        else
            return Fail(error, name, value);
        return true;
    }
    error = "unknown option " + name;
    return false;
}

std::string CSimOptions::Usage()
{
    return "usage: vorlsim tcp [--host 127.0.0.1] [--port 10001] [--clients 0] [options]\n"
           "       vorlsim serial --device PATH [--baud 9600] [--data 8] [--parity N|O|E] [--stop 1|2] [options]\n"
           "options: --count N (0: without end)  --rate HZ (0: as fast as possible)\n"
           "         --separator tab|semicolon|comma|space  --terminator lf|cr|crlf|etx  --stx\n"
           "         --chunk frame|byte|random|N  --seed S  --file PATH  --echo\n"
           "         --ready-file PATH (written with the port once listening or the device once open)\n";
}
