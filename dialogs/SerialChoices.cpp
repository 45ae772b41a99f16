#include "dialogs/SerialChoices.h"

namespace
{
// Marks the empty item at the end of the baud list.
const int kNoValue = -1;
}

const std::vector<SerialChoices::Choice>& SerialChoices::BaudRates()
{
    static const std::vector<Choice> choices{
        {"115200", 115200}, {"57600", 57600}, {"38400", 38400}, {"28800", 28800},
        {"24400", 24400},   {"19200", 19200}, {"9600", 9600},   {"4800", 4800},
        {"2400", 2400},     {"1200", 1200},   {"", kNoValue}};
    return choices;
}

const std::vector<SerialChoices::Choice>& SerialChoices::DataBits()
{
    static const std::vector<Choice> choices{{"8", 8}, {"7", 7}};
    return choices;
}

const std::vector<SerialChoices::Choice>& SerialChoices::StopBits()
{
    static const std::vector<Choice> choices{{"1", 0}, {"1.5", 1}, {"2", 2}};
    return choices;
}

const std::vector<SerialChoices::Choice>& SerialChoices::Parities()
{
    static const std::vector<Choice> choices{{"NONE", 0}, {"ODD", 1}, {"EVEN", 2}};
    return choices;
}

const std::vector<SerialChoices::Choice>& SerialChoices::Handshakes()
{
    static const std::vector<Choice> choices{
        {"None", 0}, {"Hardware", 1}, {"Software", 2}, {"", 3}};
    return choices;
}

int SerialChoices::IndexOfValue(const std::vector<Choice>& choices, int value)
{
    for (size_t i = 0; i < choices.size(); ++i)
        if (choices[i].value == value && value != kNoValue)
            return static_cast<int>(i);
    return -1;
}

int SerialChoices::ValueAt(const std::vector<Choice>& choices, int index, int previous)
{
    if (index < 0 || static_cast<size_t>(index) >= choices.size()
        || choices[static_cast<size_t>(index)].value == kNoValue)
        return previous;
    return choices[static_cast<size_t>(index)].value;
}
