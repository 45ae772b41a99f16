#include "dialogs/IpAddressText.h"

bool IpAddressText::Parse(const std::string& text, uint32_t& address)
{
    uint32_t parsed = 0;
    size_t position = 0;
    for (int field = 0; field < 4; ++field) {
        if (field > 0 && (position >= text.size() || text[position++] != '.'))
            return false;
        const size_t first = position;
        unsigned value = 0;
        while (position < text.size() && text[position] >= '0' && text[position] <= '9'
               && position - first < 3)
            value = value * 10 + static_cast<unsigned>(text[position++] - '0');
        if (position == first || value > 255)
            return false;
        parsed = (parsed << 8) | value;
    }
    if (position != text.size())
        return false;
    address = parsed;
    return true;
}

std::string IpAddressText::Format(uint32_t address)
{
    return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
           std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}
