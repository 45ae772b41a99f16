#pragma once
#include <ctime>
#include <functional>
#include <string>

// Where the day files and stamps get the local date and time from.  The
// production source reads the system clock; a test hands in a source that
// returns whatever instant it needs (a second before midnight, say).
using LocalTimeSource = std::function<std::tm()>;

namespace LocalTime
{
// The system's local time now.
std::tm SystemNow();

// strftime into a string; the formats used here are short and numeric.
std::string Format(const std::tm& time, const char* format);
}
