#pragma once
#include "app/VersionInfo.h"

// This program's version text: " Quorbel Version : 2. 0. 0. 0", or
// " Quorbel " alone when the version resource cannot be read.
class CAppVersionInfo : public CVersionInfo
{
public:
    using CVersionInfo::CVersionInfo;

    std::string GetVersionText() const override;
};
