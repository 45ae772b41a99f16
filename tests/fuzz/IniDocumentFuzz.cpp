// fuzz-libs: quorbel_processing
// Parses arbitrary bytes as an INI file, looks keys up, writes one and
// checks what must hold for any file: reads fit their buffer, values read
// as a plain reading of the text gives them, a written value reads back,
// every other key keeps its value (read back by the code and read plainly
// from the written text), and the written form is stable.
#include "FuzzReference.h"
#include "processing/IniDocument.h"

#include <cctype>
#include <cstdint>
#include <iterator>
#include <map>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <strings.h>
#include <utility>
#include <vector>

namespace
{
using FuzzReference::Check;
using NamedKey = std::pair<std::string, std::string>;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1A';
}

// A section or key name as the settings code writes them: letters, digits
// and underscores, never empty.
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_";

std::string SafeName(FuzzedDataProvider& input)
{
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

std::string Trimmed(const std::string& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// The section and name of every "name=value" line, read plainly line by
// line; whether a section header has an empty name.
std::vector<NamedKey> KeysOf(const std::string& file, bool& emptySectionName)
{
    std::vector<NamedKey> keys;
    std::string section;
    for (size_t begin = file.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0; begin < file.size();)
    {
        const size_t end = std::min(file.find_first_of("\r\n", begin), file.size());
        const std::string line = Trimmed(file.substr(begin, end - begin));
        begin = end + 1;
        if (line[0] == '[' && line.find(']') != std::string::npos)
        {
            section = Trimmed(line.substr(1, line.rfind(']') - 1));
            emptySectionName |= section.empty();
        }
        else if (line.find('=') != std::string::npos)
            keys.emplace_back(section, Trimmed(line.substr(0, line.find('='))));
    }
    return keys;
}

bool IsSafeName(const std::string& name)
{
    return !name.empty() && name.find_first_not_of(kAlphabet) == std::string::npos;
}

bool SameName(const std::string& a, const std::string& b)
{
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// The values of a file's text read plainly, without the code under test:
// for each key whose section header and name occur once (ignoring case),
// the text after its '=' without the blanks around it and without a pair
// of matching quotes around it.  Keys with longer values than a read of 256
// takes, and keys before any header, are left out.
std::map<NamedKey, std::string> PlainValues(const std::string& file)
{
    std::map<NamedKey, int> seen;
    std::map<NamedKey, std::string> values;
    std::map<std::string, int> headers;
    std::string section;
    bool inSection = false;
    for (size_t begin = file.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0; begin < file.size();)
    {
        const size_t end = std::min(file.find_first_of("\r\n", begin), file.size());
        const std::string line = Trimmed(file.substr(begin, end - begin));
        begin = end + 1;
        if (line.empty())
            continue;
        const size_t closing = line.rfind(']');
        if (line[0] == '[' && closing != std::string::npos && closing > 0)
        {
            section = Trimmed(line.substr(1, closing - 1));
            for (char& c : section)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            inSection = ++headers[section] == 1;
            continue;
        }
        const size_t equals = line.find('=');
        std::string name = Trimmed(line.substr(0, equals));
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!inSection || ++seen[{section, name}] != 1 || equals == std::string::npos || name.empty())
            continue;
        std::string value = Trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        if (value.size() < 200)
            values[{section, name}] = value;
    }
    for (auto key = values.begin(); key != values.end();)
        key = headers[key->first.first] == 1 && seen[key->first] == 1 ? std::next(key) : values.erase(key);
    return values;
}

NamedKey Lowered(NamedKey key)
{
    for (std::string* name : {&key.first, &key.second})
        for (char& c : *name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const unsigned bufferSize = input.ConsumeIntegralInRange<unsigned>(0, 300);
    const std::string lookupSection = input.ConsumeRandomLengthString(40);
    const std::string lookupKey = input.ConsumeRandomLengthString(40);
    std::string section = SafeName(input);
    std::string key = SafeName(input);
    const std::string value = RoundTripValue(input.ConsumeRandomLengthString(300));
    const uint8_t pick = input.ConsumeIntegral<uint8_t>();
    // Often the file opens with the section written to, so that it has neighbours.
    const std::string opening = input.ConsumeBool() ? "[" + section + "]\r\n" : std::string();
    const std::string file = opening + input.ConsumeRemainingBytesAsString();
    // The checks of the written file hold for files without NUL bytes (a
    // name cut at a NUL may end in a blank that the next read drops, as in
    // Windows), without a byte order mark inside the file (it moves to the
    // start, which takes another round) and without a "[]" header (written
    // as Wine writes it, that is not at all, so its keys join the section
    // before it).
    bool emptySectionName = false;
    const std::vector<NamedKey> keys = KeysOf(file, emptySectionName);
    const bool plain = file.find('\0') == std::string::npos && file.find("\xEF\xBB\xBF", 1) == std::string::npos &&
                       !emptySectionName;
    // Mostly into a section of the file, now and then over one of its keys.
    const NamedKey& picked = keys.empty() ? NamedKey() : keys[pick / 4 % keys.size()];
    if (plain && IsSafeName(picked.first) && pick % 4 != 0)
        section = picked.first;
    if (plain && IsSafeName(picked.second) && pick % 4 == 3)
        key = picked.second;

    CIniDocument document(file);
    const std::string found = document.GetString(lookupSection, lookupKey, lookupSection, bufferSize);
    Check(found.size() < bufferSize || (bufferSize == 0 && found.empty()));

    std::vector<std::string> before;
    for (const NamedKey& other : keys)
        before.push_back(document.GetString(other.first, other.second, "\x01", 256));
    // The reader agrees with a plain reading of the text.
    const std::map<NamedKey, std::string> plainBefore = plain ? PlainValues(file) : std::map<NamedKey, std::string>();
    for (const auto& [name, plainValue] : plainBefore)
        Check(document.GetString(name.first, name.second, "\x01", 256) == plainValue);
    document.SetString(section, key, value);
    Check(!document.SetString(section, key, value));
    Check(document.GetString(section, key, "\x01", 256) == value);

    // Written and read again, the value is still there, every other key
    // reads as before, and after one more round the bytes no longer change.
    const std::string written = document.Serialise();
    const CIniDocument reread(written);
    const std::string normal = reread.Serialise();
    if (plain)
    {
        Check(reread.GetString(section, key, "\x01", 256) == value);
        for (size_t i = 0; i < keys.size(); ++i)
            Check((SameName(keys[i].first, section) && SameName(keys[i].second, key)) ||
                  reread.GetString(keys[i].first, keys[i].second, "\x01", 256) == before[i]);
        Check(CIniDocument(normal).Serialise() == normal);
        // Read plainly, the written text holds the new value and every
        // other key's old one.
        const std::map<NamedKey, std::string> plainAfter = PlainValues(written);
        const NamedKey writtenKey = Lowered({section, key});
        if (plainAfter.count(writtenKey))
            Check(plainAfter.at(writtenKey) == value);
        for (const auto& [name, plainValue] : plainBefore)
            Check(name == writtenKey || !plainAfter.count(name) || plainAfter.at(name) == plainValue);
    }
    return 0;
}
