#include "dialogs/DirectoryText.h"

std::string DirectoryText::FromChosenFolder(const std::string& folder)
{
    const char* const blanks = " \t\r\n";
    const size_t first = folder.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    std::string directory = folder.substr(first, folder.find_last_not_of(blanks) - first + 1);
    if (directory.back() != '\\')
        directory += '\\';
    return directory;
}
