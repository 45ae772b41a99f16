#pragma once
#include <string>

// The database password as a station keeps it: protected for the Windows
// user who entered it (DPAPI), as hex, so that neither Quorbel.ini nor a
// copy of it on another account gives it away.  Natively there is no such
// protection: nothing is protected and nothing comes back.
namespace SecretText
{
// Empty when the text cannot be protected.
std::string Protect(const std::string& clear);
// False when the stored text is not one this user protected.
bool Unprotect(const std::string& stored, std::string& clear);
}
