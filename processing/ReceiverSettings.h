#pragma once
#include <cstdint>
#include <string>

// The receiver's configuration, loaded from "Quorbel.ini" in the working
// directory when constructed and saved when the setup is confirmed.
class CReceiverSettings
{
public:
    static constexpr int FieldCount = 20;
    static constexpr int FieldNameSize = 80;   // slots hold at most size - 1 characters
    static constexpr int ServerPortSize = 10;
    static constexpr int ServerIpSize = 20;

    enum StoreType { OriginalFrame = 0, OriginalFrameDate = 1, SelectedFields = 2, SelectedFieldsDate = 3 };
    enum LinkType { LinkNeverConfigured = -1, LinkSerial = 0, LinkEthernet = 1 };

    CReceiverSettings();
    virtual ~CReceiverSettings() = default;

    void ExchangeIni(bool load);

    int GetLinkType() const { return m_linkType; }
    std::string GetDirectory() const { return m_directory; }
    void SetDirectory(const std::string& directory) { m_directory = directory; }
    std::string GetExtension() const;
    void GetSeparatorTexts(std::string& input, std::string& output) const;

    static std::string SeparatorText(int code);
    static std::string StoreTypeName(int code);
    static std::string LinkTypeName(int code);

    int16_t IsFieldInUse(int i) const;
    void SetFieldInUse(int i, int16_t value);
    std::string GetFieldName(int i) const;
    void SetFieldName(int i, const std::string& name);
    std::string GetServerPort() const { return m_serverPort; }
    void SetServerPort(const std::string& port);
    std::string GetServerIp() const { return m_serverIp; }
    void SetServerIp(const std::string& ip);

    void BuildHeader(std::string& header, bool withDate) const;
    void SetLanguage(int language);
    int RunSetupDialog(class CPrintSettings* printSettings);   // Windows: the setup dialog, saved on IDOK
    const std::string& GetIniPath() const { return m_iniPath; }

    // Plain settings, read by the pipeline and written by the setup dialog.
    int m_inputSeparatorInUse = 1;
    int m_comPort = 0;
    int m_hideAtStart = 0;
    int m_storeType = OriginalFrame;
    int m_hideButton = 1;
    int m_fileExtCode = 0;
    int m_inputSeparator = 1;
    int m_outputSeparator = 1;
    int m_linkType = LinkNeverConfigured;
    int m_printOut = 0;
    int m_language = 0;
    // 1: a link that fails or is lost is tried again until it is back.
    int m_reconnect = 1;

    // The central database ([DataBase]), which gets a copy of every stored
    // line when enabled.  The password is kept only as protected for the
    // Windows user (hex), never in clear.
    struct Database
    {
        int enabled = 0;
        std::string connectionString;
        std::string table = "quorbel_results";
        std::string station;  // empty: the computer's name
        std::string protectedPassword;
    };
    Database m_database;

private:
    static constexpr const char* DatabaseSection = "DataBase";
    void ExchangeDatabase(class CIniFile& ini, bool load);

    std::string m_iniPath;
    std::string m_directory = "RESULT\\";
    int16_t m_fieldsInUse[FieldCount] = {};
    std::string m_fieldNames[FieldCount];
    std::string m_serverPort;
    std::string m_serverIp;
};
