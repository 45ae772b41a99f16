#pragma once
#include "processing/ReceiverSettings.h"

#include <filesystem>
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

// The settings read "Quorbel.ini" and create "RESULT" in the working
// directory: give them a scratch folder of their own.
class CScratchFolder
{
public:
    explicit CScratchFolder(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() / name), m_previous(std::filesystem::current_path())
    {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
        std::filesystem::current_path(m_path);
    }
    ~CScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    // The folder as the settings spell directories: with a final backslash.
    std::string Directory() const { return m_path.string() + "\\"; }

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;
};
