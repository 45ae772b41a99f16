#include "app/ReceiverApp.h"

#include "app/ReceiverDlg.h"
#include "app/TrayIcon.h"
#include "controls/SplashWindow.h"
#include "printing/PrintSettings.h"
#include "processing/ReceiverSettings.h"

#include <winsock2.h>

#include <new>

CReceiverApp::CReceiverApp() = default;

CReceiverApp::~CReceiverApp() = default;

std::string CReceiverApp::LanguageLibraryName(int language)
{
    if (language == 1)
        return "QuorbelFr.dll";
    if (language == 2)
        return "QuorbelIT.dll";
    return std::string();
}

BOOL CReceiverApp::InitInstance()
{
    // The tray's messages are registered before any window exists.
    CTrayIcon::TaskbarCreatedMessage();
    CTrayIcon::NotifyIconMessage();
    if (!StartSockets())
        return FALSE;
    CSplashWindow::EnableSplashScreen(SplashEnabledByCommandLine());
    if (!CreateSettings())
        return FALSE;
    // The setup's "Print setup" button edits the print settings, so they
    // exist before the first-run setup.
    if (m_settings->GetLinkType() == CReceiverSettings::LinkNeverConfigured
        && m_settings->RunSetupDialog(m_printSettings.get()) != IDOK)
        return FALSE;
    if (!LoadLanguage())
        return FALSE;
    CReceiverDlg dialog(*m_settings, *m_printSettings);
    dialog.DoModal();
    return FALSE;
}

bool CReceiverApp::StartSockets()
{
    WSADATA data{};
    if (::WSAStartup(MAKEWORD(2, 0), &data) == 0)
        return true;
    if (data.wVersion != MAKEWORD(2, 0))
        MessageBox("Incorrect version of WS2_32.dll found", "Error", MB_OK);
    ::WSACleanup();
    return false;
}

bool CReceiverApp::CreateSettings()
{
    m_settings.reset(new (std::nothrow) CReceiverSettings);
    m_printSettings.reset(new (std::nothrow) CPrintSettings);
    if (m_settings && m_printSettings)
        return true;
    MessageBox("Vorl setup error !!!", MB_OK);
    return false;
}

bool CReceiverApp::LoadLanguage()
{
    const int language = m_settings->m_language;
    const std::string library = LanguageLibraryName(language);
    if (!library.empty())
        m_languageLibrary = ::LoadLibraryA(library.c_str());
    if (m_languageLibrary) {
        SetResourceHandle(m_languageLibrary);
        return true;
    }
    if (language == 0)
        return true;
    MessageBox("Error: Cannot find component :  " + library + "\n\n-> Default langue will be load",
               MB_OK | MB_ICONERROR);
    m_settings->SetLanguage(0);
    return false;
}

bool CReceiverApp::SplashEnabledByCommandLine()
{
    // As the usual command-line parsing: a program started for embedding or
    // automation shows no splash.
    for (int i = 1; i < __argc; ++i) {
        const char* argument = __argv[i];
        if ((argument[0] == '/' || argument[0] == '-')
            && (::lstrcmpiA(argument + 1, "Embedding") == 0
                || ::lstrcmpiA(argument + 1, "Automation") == 0))
            return false;
    }
    return true;
}

int CReceiverApp::ExitInstance()
{
    ::WSACleanup();
    m_settings.reset();
    m_printSettings.reset();
    if (m_languageLibrary) {
        SetResourceHandle(nullptr);
        ::FreeLibrary(m_languageLibrary);
        m_languageLibrary = nullptr;
    }
    return CApplication::ExitInstance();
}

BOOL CReceiverApp::PreTranslateMessage(MSG* message)
{
    if (!CSplashWindow::CloseOnInput(*message))
        return CApplication::PreTranslateMessage(message);
    if (MainWindow())
        ::UpdateWindow(MainWindow());
    return TRUE;
}
