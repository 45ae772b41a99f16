#include "app/PerformanceCounter.h"

#include <ctime>

namespace PerformanceCounter
{
int64_t Count()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int64_t Frequency()
{
    return 1000000000;
}
}
