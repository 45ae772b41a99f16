#include "framework/IntegerText.h"

#include <climits>

namespace
{
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
}

bool IntegerText::Parse(const std::string& text, int& value)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const size_t firstDigit = i;
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1)
            return false;
    }
    if (i == firstDigit)
        return false;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i != text.size())
        return false;
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX)
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

std::string IntegerText::IntegerPrompt()
{
    return "Please enter an integer.";
}

std::string IntegerText::RangePrompt(int minimum, int maximum)
{
    return "Please enter an integer between " + std::to_string(minimum) + " and " +
           std::to_string(maximum) + ".";
}

std::string IntegerText::LengthPrompt(int maximumLength)
{
    return "Please enter no more than " + std::to_string(maximumLength) + " characters.";
}
