#pragma once
#include <string>

// The percentage a progress window shows for a position in [lower, upper],
// rounded to the nearest whole number; 0 for an empty or inverted range.
int ProgressPercent(int position, int lower, int upper);

// The caption with the percentage: "title [40%]".
std::string PercentCaption(const std::string& title, int percent);
