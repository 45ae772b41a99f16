#include "database/CodePage.h"

#include <windows.h>

namespace CodePage
{
std::u16string ToUtf16(const std::string& text)
{
    if (text.empty())
        return std::u16string();
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::u16string wide(static_cast<size_t>(length > 0 ? length : 0), u'\0');
    if (length > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, reinterpret_cast<wchar_t*>(&wide[0]), length);
    return wide;
}
}
