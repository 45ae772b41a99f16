// The native build publishes its ports the way its serial device finds them:
// as entries named after the port ("COM3") in the working directory.
#include "acquisition/SerialPortList.h"

#include <filesystem>
#include <system_error>

std::vector<std::string> CSerialPortList::ReadPublishedNames()
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(".", error))
        names.push_back(entry.path().filename().string());
    return names;
}
