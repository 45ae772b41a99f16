#pragma once
#include "processing/ReceiverSettings.h"

#include <string>

// A frame of 20 fields as an instrument sends it; number makes it unique.
inline std::string TwentyFieldFrame(int number)
{
    std::string frame = std::to_string(number);
    const char* const values[] = {"OK", "12.504", "mbar", "-0.031", "Leak test", "P1", "3"};
    for (int i = 1; i < 20; ++i)
        frame += std::string(";") + values[i % 7];
    return frame;
}

// Every other field of the twenty selected, with the date column.
inline void SelectEveryOtherField(CReceiverSettings& settings)
{
    settings.m_storeType = CReceiverSettings::SelectedFieldsDate;
    for (int i = 0; i < CReceiverSettings::FieldCount; i += 2)
        settings.SetFieldInUse(i, 1);
}
