#pragma once
#include "app/PerformanceCounter.h"

#include <cstdint>
#include <functional>

// Counts down a number of 1 ms or 10 ms units on the high-resolution
// counter.  Stopped until Start is given a positive count.
class CCountdownTimer
{
public:
    using CounterSource = std::function<int64_t()>;

    explicit CCountdownTimer(CounterSource count = PerformanceCounter::Count,
                             CounterSource frequency = PerformanceCounter::Frequency);
    virtual ~CCountdownTimer() = default;

    // 1 selects units of 10 ms, anything else units of 1 ms.
    void SetUnit(int mode);
    void Start(int units);
    // Units left; 0 once the time is over or when never started.
    int Remaining();

private:
    int64_t m_startCount = 0;
    int64_t m_currentCount = 0;
    int64_t m_frequency = 0;
    int64_t m_countsPerUnit = 1;
    int m_running = 0;
    int m_timeout = 0;
    int m_unitMilliseconds = 10;  // SetUnit(1) until told otherwise
    CounterSource m_count;
    CounterSource m_frequencySource;
};
