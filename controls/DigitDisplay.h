#pragma once
#include "controls/OwnerDrawControl.h"

#include <string>

// A dialog's static control shown as a row of seven-segment digits: bright
// segments on a dark panel, unlit segments faintly visible.  Digits and '-'
// are drawn; any other character leaves its place dark.
class CDigitDisplay : public COwnerDrawControl
{
public:
    void SetText(const std::string& text);

protected:
    void Paint(HDC dc, const RECT& rect, UINT state) override;

private:
    void PaintDigit(HDC dc, const RECT& cell, unsigned segments) const;
};
