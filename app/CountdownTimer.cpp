#include "app/CountdownTimer.h"

#include <algorithm>
#include <utility>

CCountdownTimer::CCountdownTimer(CounterSource count, CounterSource frequency)
    : m_count(std::move(count)), m_frequencySource(std::move(frequency))
{
}

void CCountdownTimer::SetUnit(int mode)
{
    m_unitMilliseconds = mode == 1 ? 10 : 1;
}

void CCountdownTimer::Start(int units)
{
    m_frequency = m_frequencySource();
    // A counter slower than 1 kHz still counts whole units instead of
    // dividing by zero.
    m_countsPerUnit = std::max<int64_t>(m_frequency / 1000 * m_unitMilliseconds, 1);
    m_timeout = units;
    m_startCount = m_count();
    m_running = units > 0;
}

int CCountdownTimer::Remaining()
{
    if (!m_running)
        return 0;
    m_currentCount = m_count();
    // Elapsed time stays 64-bit: a guard left alone for weeks must not wrap
    // round to "just started".
    const int64_t elapsed = std::max<int64_t>(m_currentCount - m_startCount, 0) / m_countsPerUnit;
    if (elapsed > m_timeout)
    {
        m_running = 0;
        return 0;
    }
    return m_timeout - static_cast<int>(elapsed);
}
