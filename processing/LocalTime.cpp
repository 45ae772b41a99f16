#include "processing/LocalTime.h"

namespace LocalTime
{
std::string Format(const std::tm& time, const char* format)
{
    char buffer[64] = {};
    const size_t length = std::strftime(buffer, sizeof buffer, format, &time);
    return std::string(buffer, length);
}
}
