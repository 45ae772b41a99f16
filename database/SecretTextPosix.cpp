#include "database/SecretText.h"

namespace SecretText
{
std::string Protect(const std::string&)
{
    return std::string();
}

bool Unprotect(const std::string&, std::string&)
{
    return false;
}
}
