#include "printing/PrintSettings.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace
{
// The file's lines without their ends, blank lines left out.
std::vector<std::string> Lines(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}
}

// The defaults are what a first start saves: nothing is written before that.
TEST(PrintSettingsTest, FirstStartSavesTheDefaultsInOrderAndValuesSurviveASaveAndALoad)
{
    CTempDir dir;
    {
        CPrintSettings settings;
        EXPECT_EQ("", dir.Read("PrintSetup.ini"));
        settings.ExchangeIni(false);
        const std::vector<std::string> expected = {
            "[Option]", "PrintingType=0", "NumberOfCopies=1", "UpperMargin=0", "LeftMargin=0", "LabelCarSize=0",
            "[Line1]", "Operator=0", "X1=100", "Y1=40",
            "[Line2]", "SerialNum=0", "X2=100", "Y2=80",
            "[Line3]", "Description=0", "X3=100", "Y3=120",
            "[Line4]", "DateTime=1", "X4=100", "Y4=160",
            "[Line5]", "VorlFrame=1", "X5=100", "Y5=200"};
        EXPECT_EQ(expected, Lines(dir.Read("PrintSetup.ini")));
        settings.m_printingType = 2;
        settings.m_numberOfCopies = 3;
        settings.m_leftMargin = 5;
        settings.m_upperMargin = 7;
        settings.m_labelCarSize = 6;
        settings.m_lines[CPrintSettings::OperatorLine] = PrintLine{1, 11, -12};
        settings.m_lines[CPrintSettings::SerialNumberLine] = PrintLine{1, 21, 22};
        settings.m_lines[CPrintSettings::FrameLine].enabled = 0;
        settings.ExchangeIni(false);
    }
    const CPrintSettings s;
    EXPECT_EQ((std::vector<int>{2, 3, 5, 7, 6, 1, 11, -12, 21, 22, 0}),
              (std::vector<int>{s.m_printingType, s.m_numberOfCopies, s.m_leftMargin, s.m_upperMargin,
                                s.m_labelCarSize, s.m_lines[CPrintSettings::OperatorLine].enabled,
                                s.GetLineX(CPrintSettings::OperatorLine), s.GetLineY(CPrintSettings::OperatorLine),
                                s.GetLineX(CPrintSettings::SerialNumberLine),
                                s.GetLineY(CPrintSettings::SerialNumberLine),
                                s.m_lines[CPrintSettings::FrameLine].enabled}));
}
