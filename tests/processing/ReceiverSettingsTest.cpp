#include "processing/FileSystem.h"
#include "processing/ReceiverSettings.h"
#include "tests/support/TempDir.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
// The texts a receiver takes from its settings, fields 0, 7 and 19 for all.
std::vector<std::string> Texts(CReceiverSettings& s)
{
    return {s.GetDirectory(), s.GetExtension(), s.GetServerPort(), s.GetServerIp(), s.GetFieldName(0),
            s.GetFieldName(7), s.GetFieldName(19), s.GetFieldName(-1)};
}
}

// Only a change of language saves the settings before Setup does.
TEST(ReceiverSettings, WithoutIniFileEverythingIsDefaultAndOnlyTheLanguageIsSavedAtOnce)
{
    CTempDir dir;
    CReceiverSettings settings;
    // Hide at start, hide button, store type, print, language, extension,
    // output separator, input separator in use, input separator, COM port,
    // link type, reconnect, a field in use.
    EXPECT_EQ((std::vector<int>{0, 1, 0, 0, 0, 0, 1, 1, 1, 0, -1, 1, 0}),
              (std::vector<int>{settings.m_hideAtStart, settings.m_hideButton, settings.m_storeType,
                                settings.m_printOut, settings.m_language, settings.m_fileExtCode,
                                settings.m_outputSeparator, settings.m_inputSeparatorInUse,
                                settings.m_inputSeparator, settings.m_comPort, settings.GetLinkType(),
                                settings.m_reconnect, settings.IsFieldInUse(0)}));
    EXPECT_EQ(settings.GetServerPort() + settings.GetServerIp() + settings.GetFieldName(3), "Name_3");
    EXPECT_EQ(settings.GetDirectory() + settings.GetExtension(), "RESULT\\.TXT");
    EXPECT_TRUE(FileSystem::Exists("RESULT"));
    EXPECT_FALSE(FileSystem::Exists("Quorbel.ini"));
    EXPECT_EQ(CReceiverSettings::SeparatorText(-4), ";");
    EXPECT_EQ(CReceiverSettings::LinkTypeName(-1), "Unknown");
    settings.SetLanguage(0);
    EXPECT_NE(dir.Read("Quorbel.ini").find("Language=0\r\n"), std::string::npos);
    EXPECT_EQ(CReceiverSettings().GetLinkType(), -1);
    // An empty directory loads as the default.
    dir.Write("Quorbel.ini", "[Store]\r\nDirectory=\r\n");
    EXPECT_EQ(CReceiverSettings().GetDirectory(), "RESULT\\");
}

// Every value differs from its default, so a key lost on either side shows;
// the file saved from them loads the same values again.
TEST(ReceiverSettings, LoadsHandEditedValuesTheWayTheReceiverExpectsAndSavesEveryKey)
{
    CTempDir dir;
    const std::string longName(79, 'n');
    dir.Write("Quorbel.ini",
              "[Option]\r\nHideAtStart=1\r\nHideButton=0\r\nStoreTxt=12abc\r\nPrintOut=1x\r\nLanguage=99999999999\r\n"
              "[FieldsInUse]\r\nNumber_0=-7\r\nNumber_4=70000\r\nNumber_19=1\r\n"
              "[FieldsName]\r\nName_0=Leak\r\nName_19=" + longName + "cut\r\n"
              "[Store]\r\nDirectory=Data\\Day\r\nFileExtCode=1\r\nOutputSeparator=0\r\n"
              "[Input]\r\nInputSeparatorInUse=0\r\nInputSeparator=9\r\nComPort=39\r\nUsbRs232=0\r\n"
              "[Ehernet]\r\nServerPort=123456789012\r\nIP=1234567890123456789012345\r\nReconnect=0\r\n");
    for (int round = 0; round < 2; ++round)
    {
        CReceiverSettings settings;
        EXPECT_EQ((std::vector<int>{1, 0, 12, 1, INT_MAX, -7, 70000 - 65536, 1, 0, 1, 0, 0, 9, 39, 0, 0}),
                  (std::vector<int>{settings.m_hideAtStart, settings.m_hideButton, settings.m_storeType,
                                    settings.m_printOut, settings.m_language, settings.IsFieldInUse(0),
                                    settings.IsFieldInUse(4), settings.IsFieldInUse(19), settings.IsFieldInUse(20),
                                    settings.m_fileExtCode, settings.m_outputSeparator,
                                    settings.m_inputSeparatorInUse, settings.m_inputSeparator, settings.m_comPort,
                                    settings.GetLinkType(), settings.m_reconnect})) << round;
        EXPECT_EQ((std::vector<std::string>{"Data\\Day\\", ".CSV", "123456789", "1234567890123456789", "Leak",
                                            "Name_7", longName, ""}),
                  Texts(settings)) << round;
        std::string input, output;
        settings.GetSeparatorTexts(input, output);
        EXPECT_EQ(input + settings.StoreTypeName(settings.m_storeType), ";Unknow");
        dir.Write("Quorbel.ini", "");
        settings.ExchangeIni(false);
    }
    EXPECT_TRUE(FileSystem::Exists("Data\\Day"));
}

// A damaged Reconnect value must not leave a station that never reconnects.
TEST(ReceiverSettings, OnlyAPlainZeroSwitchesReconnectionOff)
{
    CTempDir dir;
    for (const auto& [value, expected] : std::vector<std::pair<std::string, int>>{
             {"0", 0}, {" 0 ", 0}, {"", 1}, {"yes", 1}, {"00x", 1}, {"-1", 1}, {"1", 1}})
    {
        dir.Write("Quorbel.ini", "[Ehernet]\r\nReconnect=" + value + "\r\n");
        EXPECT_EQ(CReceiverSettings().m_reconnect, expected) << value;
    }
}
