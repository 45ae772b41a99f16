#pragma once
#include <cstdint>
#include <string>

// The dotted IPv4 text of the settings and the 32-bit address the IP
// address control holds (first field in the high byte).
namespace IpAddressText
{
// Four decimal fields 0 to 255 separated by dots, nothing else.
bool Parse(const std::string& text, uint32_t& address);
std::string Format(uint32_t address);
}
