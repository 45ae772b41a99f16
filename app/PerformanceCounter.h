#pragma once
#include <cstdint>

// The high-resolution counter behind one seam: QueryPerformanceCounter on
// Windows, the monotonic clock natively.
namespace PerformanceCounter
{
int64_t Count();
// Counts per second.
int64_t Frequency();
}
