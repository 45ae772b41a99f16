#pragma once
#include <string>

// The texts the program tells the operator come from the window's string
// tables, where "%1" and "%2" stand for the values.
namespace NoticeText
{
std::string Filled(std::string text, const std::string& first, const std::string& second = std::string());
}
