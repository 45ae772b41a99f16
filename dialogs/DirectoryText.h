#pragma once
#include <string>

// The results directory as the setup dialog shows and stores it.
namespace DirectoryText
{
// A folder chosen in the browser: blanks trimmed at both ends and a
// backslash added unless it already ends with one; empty stays empty.
std::string FromChosenFolder(const std::string& folder);
}
