#include "processing/RecordCodec.h"

#include <cstdint>
#include <cstdio>

namespace
{
const char FieldSeparator = '\t';

std::string CheckText(const std::vector<std::string>& fields)
{
    uint32_t hash = 2166136261u;
    for (const std::string& field : fields)
    {
        for (const char c : field + '\0')
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(hash));
    return text;
}

// Control characters and '%' become %XX.
std::string Escape(const std::string& text)
{
    std::string escaped;
    for (const char c : text)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%')
        {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", byte);
            escaped += code;
        }
        else
            escaped += c;
    }
    return escaped;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool Unescape(const std::string& escaped, std::string& text)
{
    text.clear();
    for (size_t i = 0; i < escaped.size(); ++i)
    {
        if (escaped[i] != '%')
        {
            text += escaped[i];
            continue;
        }
        if (i + 2 >= escaped.size())
            return false;
        const int high = HexValue(escaped[i + 1]);
        const int low = HexValue(escaped[i + 2]);
        if (high < 0 || low < 0)
            return false;
        text += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}
}

std::string CRecordCodec::Encode(const std::vector<std::string>& fields)
{
    std::string record;
    for (const std::string& field : fields)
        record += Escape(field) + FieldSeparator;
    return record + CheckText(fields) + "\r\n";
}

bool CRecordCodec::Decode(const std::string& record, size_t count, std::vector<std::string>& fields)
{
    std::vector<std::string> escaped(1);
    for (const char c : record)
    {
        if (c == FieldSeparator)
            escaped.emplace_back();
        else
            escaped.back() += c;
    }
    if (escaped.size() != count + 1)
        return false;
    fields.assign(count, std::string());
    for (size_t i = 0; i < count; ++i)
    {
        if (!Unescape(escaped[i], fields[i]))
            return false;
    }
    return escaped.back() == CheckText(fields);
}
