#pragma once
#include "framework/Application.h"

#include <memory>
#include <string>

class CReceiverSettings;
class CPrintSettings;

// The process: starts the socket library, loads the settings, runs the
// first-run setup and the main window in the configured language, and
// releases it all at the end.
class CReceiverApp : public CApplication
{
public:
    CReceiverApp();
    ~CReceiverApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL PreTranslateMessage(MSG* message) override;

    // "QuorbelFr.dll" for 1, "QuorbelIT.dll" for 2, empty otherwise.
    static std::string LanguageLibraryName(int language);

private:
    bool StartSockets();
    bool CreateSettings();
    bool LoadLanguage();
    static bool SplashEnabledByCommandLine();

    std::unique_ptr<CReceiverSettings> m_settings;
    std::unique_ptr<CPrintSettings> m_printSettings;
    HMODULE m_languageLibrary = nullptr;
};
