#include "processing/FileSystem.h"
#include "processing/ReceiverSettings.h"
#include "tests/support/TempDir.h"

#include <climits>
#include <gtest/gtest.h>
#include <regex>
#include <utility>

namespace
{
std::vector<std::string> SectionsOf(const std::string& ini)
{
    std::vector<std::string> sections;
    const std::regex header(R"(\[([^\]]*)\])");
    for (std::sregex_iterator it(ini.begin(), ini.end(), header), end; it != end; ++it)
        sections.push_back((*it)[1]);
    return sections;
}

// The texts a receiver takes from its settings, fields 0, 7, 18 and 19 for all.
std::vector<std::string> Texts(CReceiverSettings& s)
{
    return {s.GetDirectory(), s.GetExtension(), s.GetServerPort(), s.GetServerIp(), s.GetFieldName(0),
            s.GetFieldName(7), s.GetFieldName(18), s.GetFieldName(19), s.GetFieldName(-1)};
}
}

TEST(ReceiverSettings, WithoutIniFileEverythingIsDefaultAndNothingIsWritten)
{
    CTempDir dir;
    CReceiverSettings settings;
    EXPECT_EQ(settings.GetLinkType(), -1);
    EXPECT_EQ(settings.m_language, 0);
    EXPECT_EQ(settings.GetDirectory() + settings.GetExtension(), "RESULT\\.TXT");
    EXPECT_TRUE(FileSystem::Exists("RESULT"));
    EXPECT_FALSE(FileSystem::Exists("Quorbel.ini"));
    EXPECT_EQ(CReceiverSettings::SeparatorText(-4), ";");
    EXPECT_EQ(CReceiverSettings::LinkTypeName(-1), "Unknown");
    // An empty directory loads as the default.
    dir.Write("Quorbel.ini", "[Store]\r\nDirectory=\r\n");
    EXPECT_EQ(CReceiverSettings().GetDirectory(), "RESULT\\");
}

TEST(ReceiverSettings, LoadsHandEditedValuesTheWayTheReceiverExpects)
{
    CTempDir dir;
    dir.Write("Quorbel.ini",
             "[Option]\r\nStoreTxt=12abc\r\nPrintOut=x\r\nLanguage=99999999999\r\n"
             "[FieldsInUse]\r\nNumber_3=2\r\nNumber_4=70000\r\nNumber_5=-1\r\n"
             "[FieldsName]\r\nName_0=Leak\r\n"
             "[Store]\r\nDirectory=Data\\Day\r\nFileExtCode=1\r\n"
             "[Input]\r\nInputSeparator=9\r\nUsbRs232=1\r\n"
             "[Ehernet]\r\nServerPort=123456789012\r\nIP=1234567890123456789012345\r\n");
    CReceiverSettings settings;
    EXPECT_EQ((std::vector<int>{12, 0, INT_MAX, 2, 70000 - 65536, -1, 0, 1, 1}),
              (std::vector<int>{settings.m_storeType, settings.m_printOut, settings.m_language,
                                settings.IsFieldInUse(3), settings.IsFieldInUse(4), settings.IsFieldInUse(5),
                                settings.IsFieldInUse(20), settings.GetLinkType(), settings.m_reconnect}));
    EXPECT_EQ((std::vector<std::string>{"Data\\Day\\", ".CSV", "123456789", "1234567890123456789", "Leak",
                                        "Name_7", "Name_18", "Name_19", ""}),
              Texts(settings));
    EXPECT_TRUE(FileSystem::Exists("Data\\Day"));
    EXPECT_EQ(settings.StoreTypeName(settings.m_storeType), "Unknow");
    std::string input, output;
    settings.GetSeparatorTexts(input, output);
    EXPECT_EQ(input, ";");
}

TEST(ReceiverSettings, SavingAndLoadingReproducesEveryField)
{
    CTempDir dir;
    const std::string longName(79, 'n');
    // Every value differs from its default, so a key lost on either side shows.
    const std::pair<int CReceiverSettings::*, int> values[] = {
        {&CReceiverSettings::m_hideAtStart, 1}, {&CReceiverSettings::m_hideButton, 0},
        {&CReceiverSettings::m_storeType, 3},   {&CReceiverSettings::m_printOut, 1},
        {&CReceiverSettings::m_language, 2},    {&CReceiverSettings::m_fileExtCode, 1},
        {&CReceiverSettings::m_outputSeparator, 0}, {&CReceiverSettings::m_inputSeparator, 3},
        {&CReceiverSettings::m_comPort, 39},    {&CReceiverSettings::m_linkType, 0},
        {&CReceiverSettings::m_reconnect, 0}};
    {
        CReceiverSettings settings;
        for (const auto& value : values)
            settings.*value.first = value.second;
        settings.SetFieldInUse(19, 1);
        settings.SetFieldInUse(0, -7);
        settings.SetFieldName(19, longName + "cut");
        settings.SetDirectory("Out\\");
        settings.SetServerPort("10001");
        settings.SetServerIp("192.168.1.20");
        settings.ExchangeIni(false);
    }
    EXPECT_EQ(SectionsOf(dir.Read("Quorbel.ini")),
              (std::vector<std::string>{"Option", "FieldsInUse", "FieldsName", "Store", "Input", "Ehernet"}));

    CReceiverSettings loaded;
    for (const auto& value : values)
        EXPECT_EQ(loaded.*value.first, value.second) << &value - values;
    EXPECT_EQ(loaded.IsFieldInUse(19) * 100 + loaded.IsFieldInUse(0), 100 - 7);
    EXPECT_EQ((std::vector<std::string>{"Out\\", ".CSV", "10001", "192.168.1.20", "Name_0", "Name_7", "Name_18",
                                        longName, ""}),
              Texts(loaded));
}

TEST(ReceiverSettings, SetLanguageSavesAtOnce)
{
    CTempDir dir;
    CReceiverSettings().SetLanguage(0);
    EXPECT_NE(dir.Read("Quorbel.ini").find("Language=0\r\n"), std::string::npos);
    EXPECT_EQ(CReceiverSettings().GetLinkType(), -1);
}

TEST(ReceiverSettings, HeaderListsTheSelectedNamesEachFollowedByTheSeparator)
{
    CTempDir dir;
    CReceiverSettings settings;
    settings.SetFieldInUse(0, 1);
    settings.SetFieldInUse(2, 5);
    settings.SetFieldName(2, "R");
    settings.m_outputSeparator = 0;
    std::string header;
    settings.BuildHeader(header, false);
    EXPECT_EQ(header, "Name_0\tR\t");
    settings.SetFieldInUse(0, 0);
    settings.SetFieldInUse(2, 0);
    settings.BuildHeader(header, true);
    EXPECT_EQ(header, "Date-Time\t");
}
