#pragma once
#include <string>

// Frames are bytes in the station's code page (on Windows the system's
// ANSI code page; elsewhere Windows-1252, the one of the instruments'
// workstations); the database takes UTF-16.
namespace CodePage
{
std::u16string ToUtf16(const std::string& text);
}
