#include "processing/ReceiverSettings.h"

#include "processing/IniFile.h"

namespace
{
const char* const IniFileName = "Quorbel.ini";
const char* const DefaultDirectory = "RESULT\\";

std::string FieldNameKey(int i)
{
    return "Name_" + std::to_string(i);
}

// A station left alone must not stop reconnecting because of a damaged
// value: only a plain 0 (the reader drops the blanks around it) switches
// reconnection off.
int ReconnectFromText(const std::string& text)
{
    return text == "0" ? 0 : 1;
}

bool IsFieldIndex(int i)
{
    return i >= 0 && i < CReceiverSettings::FieldCount;
}

// Fixed-size slots keep at most size - 1 characters and end at a NUL.
std::string CutToSlot(const std::string& text, int slotSize)
{
    const std::string untilNul = text.substr(0, text.find('\0'));
    return untilNul.substr(0, static_cast<std::size_t>(slotSize - 1));
}

}

CReceiverSettings::CReceiverSettings()
    : m_iniPath(MakeAbsolutePath(IniFileName, 0))
{
    m_directory = DefaultDirectory;
    ExchangeIni(true);
    if (m_directory.empty())
        m_directory = DefaultDirectory;
    else
        EnsureTrailingBackslash(m_directory);
    CreateDirectoryPath(m_directory);
}

void CReceiverSettings::ExchangeIni(bool load)
{
    CIniFile ini(m_iniPath, 1);
    ini.ExchangeInt(load, m_hideAtStart, "HideAtStart", "Option", 0);
    ini.ExchangeInt(load, m_hideButton, "HideButton", "Option", 1);
    ini.ExchangeInt(load, m_storeType, "StoreTxt", "Option", 0);
    ini.ExchangeInt(load, m_printOut, "PrintOut", "Option", 0);
    ini.ExchangeInt(load, m_language, "Language", "Option", 0);
    ini.ExchangeShortArray(load, m_fieldsInUse, FieldCount, "Number", "FieldsInUse", 0);
    for (int i = 0; i < FieldCount; ++i)
    {
        const std::string key = FieldNameKey(i);
        if (load)
            SetFieldName(i, ini.ReadString(key, "FieldsName", key));
        else
            ini.WriteString(key, m_fieldNames[i], "FieldsName");
    }
    ini.ExchangeString(load, m_directory, "Directory", "Store", DefaultDirectory);
    ini.ExchangeInt(load, m_fileExtCode, "FileExtCode", "Store", 0);
    ini.ExchangeInt(load, m_outputSeparator, "OutputSeparator", "Store", 1);
    ini.ExchangeInt(load, m_inputSeparatorInUse, "InputSeparatorInUse", "Input", 1);
    ini.ExchangeInt(load, m_inputSeparator, "InputSeparator", "Input", 1);
    ini.ExchangeInt(load, m_comPort, "ComPort", "Input", 0);
    ini.ExchangeInt(load, m_linkType, "UsbRs232", "Input", -1);
    if (load)
    {
        SetServerPort(ini.ReadString("ServerPort", "Ehernet"));
        SetServerIp(ini.ReadString("IP", "Ehernet"));
    }
    else
    {
        ini.WriteString("ServerPort", m_serverPort, "Ehernet");
        ini.WriteString("IP", m_serverIp, "Ehernet");
    }
    if (load)
        m_reconnect = ReconnectFromText(ini.ReadString("Reconnect", "Ehernet", "1"));
    else
        ini.WriteInt("Reconnect", m_reconnect, "Ehernet");
    ExchangeDatabase(ini, load);
}

// A station that has never used the central database gets no section.
void CReceiverSettings::ExchangeDatabase(CIniFile& ini, bool load)
{
    Database& db = m_database;
    if (!load && db.enabled == 0 && db.connectionString.empty())
        return;
    ini.ExchangeInt(load, db.enabled, "Enabled", DatabaseSection, 0);
    // A connection string or a protected password may be long.
    const size_t longText = 4096;
    ini.ExchangeString(load, db.connectionString, "ConnectionString", DatabaseSection, "", longText);
    ini.ExchangeString(load, db.table, "Table", DatabaseSection, "quorbel_results");
    ini.ExchangeString(load, db.station, "Station", DatabaseSection, "");
    ini.ExchangeString(load, db.protectedPassword, "Password", DatabaseSection, "", longText);
}



std::string CReceiverSettings::GetExtension() const
{
    return m_fileExtCode == 1 ? ".CSV" : ".TXT";
}

void CReceiverSettings::GetSeparatorTexts(std::string& input, std::string& output) const
{
    input = SeparatorText(m_inputSeparator);
    output = SeparatorText(m_outputSeparator);
}

std::string CReceiverSettings::SeparatorText(int code)
{
    switch (code)
    {
    case 0: return "\t";
    case 2: return ",";
    case 3: return " ";
    default: return ";";
    }
}

std::string CReceiverSettings::StoreTypeName(int code)
{
    switch (code)
    {
    case OriginalFrame: return "Original frame";
    case OriginalFrameDate: return "Original frame+date";
    case SelectedFields: return "Selected fields";
    case SelectedFieldsDate: return "Selected fields+date";
    default: return "Unknow";
    }
}

std::string CReceiverSettings::LinkTypeName(int code)
{
    switch (code)
    {
    case LinkEthernet: return "ETHERNET TCP";
    case LinkSerial: return "Com";
    default: return "Unknown";
    }
}

int16_t CReceiverSettings::IsFieldInUse(int i) const
{
    return IsFieldIndex(i) ? m_fieldsInUse[i] : 0;
}

void CReceiverSettings::SetFieldInUse(int i, int16_t value)
{
    if (IsFieldIndex(i))
        m_fieldsInUse[i] = value;
}

std::string CReceiverSettings::GetFieldName(int i) const
{
    return IsFieldIndex(i) ? m_fieldNames[i] : std::string();
}

void CReceiverSettings::SetFieldName(int i, const std::string& name)
{
    if (IsFieldIndex(i))
        m_fieldNames[i] = CutToSlot(name, FieldNameSize);
}

void CReceiverSettings::SetServerPort(const std::string& port)
{
    m_serverPort = CutToSlot(port, ServerPortSize);
}

void CReceiverSettings::SetServerIp(const std::string& ip)
{
    m_serverIp = CutToSlot(ip, ServerIpSize);
}

void CReceiverSettings::BuildHeader(std::string& header, bool withDate) const
{
    std::string input;
    std::string output;
    GetSeparatorTexts(input, output);
    header = withDate ? "Date-Time" + output : std::string();
    for (int i = 0; i < FieldCount; ++i)
    {
        if (m_fieldsInUse[i])
            header += m_fieldNames[i] + output;
    }
}

void CReceiverSettings::SetLanguage(int language)
{
    m_language = language;
    ExchangeIni(false);
}
