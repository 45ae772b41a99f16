// fuzz-libs: quorbel_processing
// Parses arbitrary bytes as an INI file, looks keys up, writes one and
// checks what must hold for any file: reads fit their buffer, a written
// value reads back, and the written form is stable.
#include "processing/IniDocument.h"

#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace
{
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1A';
}

// A section or key name as the settings code writes them: letters, digits
// and underscores, never empty.
std::string SafeName(FuzzedDataProvider& input)
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_";
    std::string name(1, 'N');
    const size_t length = input.ConsumeIntegralInRange<size_t>(0, 12);
    for (size_t i = 0; i < length; ++i)
        name += kAlphabet[input.ConsumeIntegralInRange<size_t>(0, sizeof kAlphabet - 2)];
    return name;
}

// A value that reads back unchanged: one line, no blanks at either end, not
// wrapped in matching quotes, short enough for the read buffer.
std::string RoundTripValue(const std::string& raw)
{
    std::string value;
    for (char c : raw.substr(0, 254))
    {
        if (c != '\0' && c != '\r' && c != '\n')
            value += c;
    }
    while (!value.empty() && IsBlank(value.front()))
        value.erase(0, 1);
    while (!value.empty() && IsBlank(value.back()))
        value.pop_back();
    const bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    if (quoted)
        value += 'x';
    return value;
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const unsigned bufferSize = input.ConsumeIntegralInRange<unsigned>(0, 300);
    const std::string lookupSection = input.ConsumeRandomLengthString(40);
    const std::string lookupKey = input.ConsumeRandomLengthString(40);
    const std::string section = SafeName(input);
    const std::string key = SafeName(input);
    const std::string value = RoundTripValue(input.ConsumeRandomLengthString(300));
    const std::string file = input.ConsumeRemainingBytesAsString();

    CIniDocument document(file);
    const std::string found = document.GetString(lookupSection, lookupKey, lookupSection, bufferSize);
    Check(found.size() < bufferSize || (bufferSize == 0 && found.empty()));

    document.SetString(section, key, value);
    Check(!document.SetString(section, key, value));
    Check(document.GetString(section, key, "\x01", 256) == value);

    // Written and read again, the value is still there, and after one more
    // round the bytes no longer change.  Both hold for files without NUL
    // bytes (a name cut at a NUL may end in a blank that the next read
    // drops, as in Windows) and without a byte order mark inside the file
    // (it moves to the start, which takes another round).
    const std::string written = document.Serialise();
    const CIniDocument reread(written);
    const std::string normal = reread.Serialise();
    if (file.find('\0') == std::string::npos && file.find("\xEF\xBB\xBF", 1) == std::string::npos)
    {
        Check(reread.GetString(section, key, "\x01", 256) == value);
        Check(CIniDocument(normal).Serialise() == normal);
    }
    return 0;
}
