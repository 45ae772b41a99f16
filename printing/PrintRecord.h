#pragma once
#include <cstddef>
#include <cstring>
#include <string>

// The five texts of one print job, each a NUL-terminated text in a slot of
// fixed size.  The caller zero-fills the record before filling it.
struct PrintRecord
{
    char serialNumber[21];
    char operatorName[21];
    char dateTime[21];
    char comment[100];
    char frame[100];
};

// Copies text into a slot, cutting it so that the NUL always fits.
template <std::size_t N>
void FillPrintSlot(char (&slot)[N], const std::string& text)
{
    const std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(slot, text.data(), length);
    slot[length] = '\0';
}
