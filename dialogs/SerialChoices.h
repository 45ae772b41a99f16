#pragma once
#include <string>
#include <vector>

// The items of the serial port setup dialog's lists and the value each one
// stores in the port's record.
namespace SerialChoices
{
struct Choice
{
    const char* text;
    int value;
};

// Ten rates and a last, empty item that stores nothing.
const std::vector<Choice>& BaudRates();
const std::vector<Choice>& DataBits();
const std::vector<Choice>& StopBits();
const std::vector<Choice>& Parities();
// Stored as the item's index; the last, empty item stores 3, a value the
// serial link refuses when it opens the port.
const std::vector<Choice>& Handshakes();

// The first item storing `value`; -1 when none does.
int IndexOfValue(const std::vector<Choice>& choices, int value);
// The value the item at `index` stores; `previous` for no selection and for
// an item that stores nothing.
int ValueAt(const std::vector<Choice>& choices, int index, int previous);
}
