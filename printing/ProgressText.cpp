#include "printing/ProgressText.h"

int ProgressPercent(int position, int lower, int upper)
{
    if (upper <= lower)
        return 0;
    // 64-bit so that wide ranges cannot overflow.
    const double share = static_cast<double>(static_cast<long long>(position) - lower) /
                         (static_cast<long long>(upper) - lower);
    return static_cast<int>(share * 100.0 + 0.5);
}

std::string PercentCaption(const std::string& title, int percent)
{
    return title + " [" + std::to_string(percent) + "%]";
}
