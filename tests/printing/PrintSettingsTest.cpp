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
TEST(PrintSettingsTest, FirstStartWritesNothingAndSavesTheDefaultsInOrder)
{
    CTempDir dir;
    CPrintSettings settings;
    EXPECT_EQ("", dir.Read("PrintSetup.ini"));
    settings.ExchangeIni(false);
    const std::vector<std::string> expected = {
        "[Option]", "PrintingType=0", "NumberOfCopies=1", "UpperMargin=0", "LeftMargin=0",
        "LabelCarSize=0",
        "[Line1]", "Operator=0", "X1=100", "Y1=40",
        "[Line2]", "SerialNum=0", "X2=100", "Y2=80",
        "[Line3]", "Description=0", "X3=100", "Y3=120",
        "[Line4]", "DateTime=1", "X4=100", "Y4=160",
        "[Line5]", "VorlFrame=1", "X5=100", "Y5=200"};
    EXPECT_EQ(expected, Lines(dir.Read("PrintSetup.ini")));
}

TEST(PrintSettingsTest, ValuesSurviveASaveAndALoad)
{
    CTempDir dir;
    {
        CPrintSettings settings;
        settings.m_printingType = 2;
        settings.m_numberOfCopies = 3;
        settings.m_leftMargin = 5;
        settings.m_upperMargin = 7;
        settings.m_labelCarSize = 6;
        settings.m_lines[CPrintSettings::OperatorLine] = PrintLine{1, 11, -12};
        settings.m_lines[CPrintSettings::SerialNumberLine] = PrintLine{1, 21, 22};
        settings.ExchangeIni(false);
    }
    CPrintSettings reloaded;
    EXPECT_EQ(2, reloaded.m_printingType);
    EXPECT_EQ(3, reloaded.m_numberOfCopies);
    EXPECT_EQ(5, reloaded.m_leftMargin);
    EXPECT_EQ(7, reloaded.m_upperMargin);
    EXPECT_EQ(6, reloaded.m_labelCarSize);
    EXPECT_EQ(11, reloaded.GetLineX(CPrintSettings::OperatorLine));
    EXPECT_EQ(-12, reloaded.GetLineY(CPrintSettings::OperatorLine));
    EXPECT_EQ(21, reloaded.GetLineX(CPrintSettings::SerialNumberLine));
    EXPECT_EQ(22, reloaded.GetLineY(CPrintSettings::SerialNumberLine));
}

TEST(PrintSettingsTest, HandWrittenFileMapsSectionsToJobOrderAndGarbleToZero)
{
    CTempDir dir;
    dir.Write("PrintSetup.ini",
              "[Option]\r\nPrintingType=abc\r\nNumberOfCopies=x3\r\nLeftMargin=4mm\r\n"
              "[Line1]\r\nOperator=7\r\nX1=301\r\n[Line2]\r\nY2=302\r\n");
    CPrintSettings settings;
    EXPECT_EQ(0, settings.m_printingType);
    EXPECT_EQ(0, settings.m_numberOfCopies);
    EXPECT_EQ(4, settings.m_leftMargin);
    EXPECT_EQ(7, settings.m_lines[CPrintSettings::OperatorLine].enabled);
    EXPECT_EQ(301, settings.GetLineX(CPrintSettings::OperatorLine));
    EXPECT_EQ(40, settings.GetLineY(CPrintSettings::OperatorLine));
    EXPECT_EQ(302, settings.GetLineY(CPrintSettings::SerialNumberLine));
    EXPECT_EQ(1, settings.m_lines[CPrintSettings::FrameLine].enabled);
}
