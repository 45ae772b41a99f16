#include "processing/NoticeText.h"

#include <utility>

namespace NoticeText
{
std::string Filled(std::string text, const std::string& first, const std::string& second)
{
    for (const auto& [mark, value] : {std::pair<std::string, const std::string&>{"%1", first}, {"%2", second}})
    {
        const size_t at = text.find(mark);
        if (at != std::string::npos)
            text.replace(at, mark.size(), value);
    }
    return text;
}
}
