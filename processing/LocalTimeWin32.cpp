#include "processing/LocalTime.h"

namespace LocalTime
{
std::tm SystemNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return local;
}
}
