#include "app/PerformanceCounter.h"

#include <windows.h>

namespace PerformanceCounter
{
int64_t Count()
{
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}

int64_t Frequency()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}
}
