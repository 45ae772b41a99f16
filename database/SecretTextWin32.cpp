#include "database/SecretText.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <vector>

namespace SecretText
{
namespace
{
std::string Hex(const BYTE* bytes, DWORD size)
{
    std::string text;
    for (DWORD i = 0; i < size; ++i)
    {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
        text += pair;
    }
    return text;
}

bool FromHex(const std::string& text, std::vector<BYTE>& bytes)
{
    if (text.size() % 2 != 0)
        return false;
    for (size_t i = 0; i < text.size(); i += 2)
    {
        unsigned value = 0;
        if (std::sscanf(text.c_str() + i, "%2X", &value) != 1)
            return false;
        bytes.push_back(static_cast<BYTE>(value));
    }
    return true;
}
}

std::string Protect(const std::string& clear)
{
    DATA_BLOB in{static_cast<DWORD>(clear.size()), reinterpret_cast<BYTE*>(const_cast<char*>(clear.data()))};
    DATA_BLOB out{};
    if (!::CryptProtectData(&in, L"Quorbel", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
        return std::string();
    const std::string text = Hex(out.pbData, out.cbData);
    ::LocalFree(out.pbData);
    return text;
}

bool Unprotect(const std::string& stored, std::string& clear)
{
    std::vector<BYTE> bytes;
    if (stored.empty() || !FromHex(stored, bytes))
        return false;
    DATA_BLOB in{static_cast<DWORD>(bytes.size()), bytes.data()};
    DATA_BLOB out{};
    if (!::CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
        return false;
    clear.assign(reinterpret_cast<const char*>(out.pbData), out.cbData);
    ::SecureZeroMemory(out.pbData, out.cbData);
    ::LocalFree(out.pbData);
    return true;
}
}
