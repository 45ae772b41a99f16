#include "app/AppVersionInfo.h"

std::string CAppVersionInfo::GetVersionText() const
{
    return " Quorbel " + CVersionInfo::GetVersionText();
}
