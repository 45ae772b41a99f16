#pragma once
#include <string>

// Reading numbers typed into edits and the prompts shown when they do not
// pass.  Portable, so the rules are checked on every build.
namespace IntegerText
{
// Optional blanks, an optional sign, decimal digits, optional blanks and
// nothing else; false for anything else and for values outside int.
bool Parse(const std::string& text, int& value);

std::string IntegerPrompt();
std::string RangePrompt(int minimum, int maximum);
std::string LengthPrompt(int maximumLength);
}
