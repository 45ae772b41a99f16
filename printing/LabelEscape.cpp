#include "printing/LabelEscape.h"

#include <cstdio>

namespace
{
bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

bool IsControl(char c)
{
    return static_cast<unsigned char>(c) < 0x20;
}
}

std::string EscapeEplData(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text)
    {
        if (c == '"' || c == '\\')
            escaped += '\\';
        escaped += IsLineBreak(c) ? ' ' : c;
    }
    return escaped;
}

bool ZplDataNeedsHex(const std::string& text)
{
    for (char c : text)
    {
        if (c == '^' || c == '~' || IsControl(c))
            return true;
    }
    return false;
}

std::string EscapeZplHexData(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size() * 3);
    for (char c : text)
    {
        if (c == '^' || c == '~' || c == '_' || IsControl(c))
        {
            char hex[4];
            std::snprintf(hex, sizeof hex, "_%02X", static_cast<unsigned char>(c));
            escaped += hex;
        }
        else
        {
            escaped += c;
        }
    }
    return escaped;
}
